#include "message_box.h"

#include <QApplication>
#include <QScreen>

namespace marvolt {

ScreenCentredBox::ScreenCentredBox(Icon icon, const QString& caption, const QString& text)
    : QMessageBox(icon, caption, text, NoButton, QApplication::activeWindow()) {}

void ScreenCentredBox::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);  // the box takes its size here
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

}  // namespace marvolt
