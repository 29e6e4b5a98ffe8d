#include "navigator_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace marvolt {

namespace {

constexpr int kIconSize = 16;

QPainterPath triangle(qreal tipX, qreal baseX) {
    QPainterPath path;
    path.moveTo(tipX, 8);
    path.lineTo(baseX, 3);
    path.lineTo(baseX, 13);
    path.closeSubpath();
    return path;
}

void draw(QPainter& painter, NavigatorButton button) {
    const QColor ink(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    switch (button) {
        case NavigatorButton::First:
            painter.drawRect(QRectF(4, 3, 2, 10));
            painter.drawPath(triangle(6, 11));
            break;
        case NavigatorButton::Prior:
            painter.drawPath(triangle(5, 10));
            break;
        case NavigatorButton::Next:
            painter.drawPath(triangle(11, 6));
            break;
        case NavigatorButton::Last:
            painter.drawPath(triangle(10, 5));
            painter.drawRect(QRectF(10, 3, 2, 10));
            break;
        case NavigatorButton::Insert:
            painter.drawRect(QRectF(7, 3, 2, 10));
            painter.drawRect(QRectF(3, 7, 10, 2));
            break;
        case NavigatorButton::Delete:
            painter.drawRect(QRectF(3, 7, 10, 2));
            break;
        case NavigatorButton::Edit: {
            QPainterPath up;
            up.moveTo(8, 4);
            up.lineTo(13, 11);
            up.lineTo(3, 11);
            up.closeSubpath();
            painter.drawPath(up);
            break;
        }
        case NavigatorButton::Post:
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(0, 128, 0), 2.2, Qt::SolidLine, Qt::SquareCap));
            painter.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(6.5, 11.5), QPointF(13, 4)}));
            break;
        case NavigatorButton::Cancel:
            painter.setPen(QPen(QColor(128, 0, 0), 2.2, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(QPointF(4, 4), QPointF(12, 12));
            painter.drawLine(QPointF(12, 4), QPointF(4, 12));
            break;
    }
}

}  // namespace

QIcon navigatorIcon(NavigatorButton button) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, button);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace marvolt
