#include "bevel.h"

#include <QPainter>

namespace marvolt {

Bevel::Bevel(QWidget* parent) : QWidget(parent) {}

void Bevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}

}  // namespace marvolt
