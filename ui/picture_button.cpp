#include "picture_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QSvgRenderer>

namespace marvolt {

namespace {

constexpr int kPictureMargin = 10;

// The picture rendered at the screen's pixel ratio; its transparent background lets the
// button face show through, and QIcon greys it when the button is disabled.
QIcon renderPicture(const QString& resource, int size, qreal pixelRatio) {
    QSvgRenderer renderer(resource);
    QPixmap pixmap(QSize(size, size) * pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return QIcon(pixmap);
}

}  // namespace

PictureButton::PictureButton(const QString& caption, const QString& picture, int pictureSize,
                             QWidget* parent)
    : QPushButton(caption, parent), pictureSize_(pictureSize) {
    setIcon(renderPicture(picture, pictureSize, devicePixelRatioF()));
    setIconSize(QSize(pictureSize, pictureSize));
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const bool sunken = isDown() || isChecked();
    const QPoint shift =
        sunken ? QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                        style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this))
               : QPoint();
    const QRect pictureRect(kPictureMargin, (height() - pictureSize_) / 2, pictureSize_,
                            pictureSize_);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    icon().paint(&painter, pictureRect.translated(shift), Qt::AlignCenter, mode);

    const QRect captionRect =
        QRect(pictureRect.right() + 1, 0, width() - pictureRect.right() - 1, height())
            .translated(shift);
    painter.drawItemText(captionRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                         isEnabled(), text(), QPalette::ButtonText);
}

}  // namespace marvolt
