#include "indicator_header.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionHeader>

namespace marvolt {

IndicatorHeader::IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
}

void IndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int section) const {
    painter->save();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = section;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    const QString mark = model()->headerData(section, Qt::Vertical).toString();
    const QPoint centre = rect.center();
    painter->setPen(palette().color(QPalette::WindowText));
    painter->setBrush(palette().color(QPalette::WindowText));
    if (mark == QStringLiteral("▶")) {
        QPainterPath arrow;
        arrow.moveTo(centre.x() - 2, centre.y() - 4);
        arrow.lineTo(centre.x() + 2, centre.y());
        arrow.lineTo(centre.x() - 2, centre.y() + 4);
        arrow.closeSubpath();
        painter->setPen(Qt::NoPen);
        painter->drawPath(arrow);
    } else if (mark == QStringLiteral("I")) {
        painter->drawLine(centre.x(), centre.y() - 4, centre.x(), centre.y() + 4);
        painter->drawLine(centre.x() - 2, centre.y() - 5, centre.x() + 2, centre.y() - 5);
        painter->drawLine(centre.x() - 2, centre.y() + 5, centre.x() + 2, centre.y() + 5);
    } else if (mark == QStringLiteral("*")) {
        painter->drawLine(centre.x(), centre.y() - 3, centre.x(), centre.y() + 3);
        painter->drawLine(centre.x() - 3, centre.y() - 2, centre.x() + 3, centre.y() + 2);
        painter->drawLine(centre.x() - 3, centre.y() + 2, centre.x() + 3, centre.y() - 2);
    }
    painter->restore();
}

}  // namespace marvolt
