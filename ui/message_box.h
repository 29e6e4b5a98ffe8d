#pragma once
// The program's modal boxes: owned by the active window, so that the keyboard focus goes
// back to it when they close, yet centred on the screen.

#include <QMessageBox>

namespace marvolt {

class ScreenCentredBox : public QMessageBox {
  public:
    ScreenCentredBox(Icon icon, const QString& caption, const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace marvolt
