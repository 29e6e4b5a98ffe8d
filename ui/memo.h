#pragma once
// A read-only multi-line text box of the window (Memo1, Memo2, memRaport).

#include <QTextEdit>

namespace marvolt {

// Plain text whose lines stand 13 pixels apart, the text line of the window's Tahoma 8 pt
// (the face's own metrics give 11), wrapped lines included.
class Memo : public QTextEdit {
    Q_OBJECT
  public:
    Memo(const QString& lines, QWidget* parent);

    // Adds a line at the end, as a paragraph of its own; a view showing the last line
    // follows it.
    void appendPlainText(const QString& line);
};

}  // namespace marvolt
