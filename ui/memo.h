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
    // The same for many lines: thousands of report lines of a day at 20 Hz go in a few
    // hundred at a time, the window's other events (not the user's input) handled between.
    void appendPlainLines(const QStringList& lines);
};

}  // namespace marvolt
