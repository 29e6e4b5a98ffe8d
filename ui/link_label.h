#pragma once
// A label that reports a click, for the contact and update links of the footer.

#include <QLabel>

namespace marvolt {

class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    LinkLabel(const QString& text, QWidget* parent);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace marvolt
