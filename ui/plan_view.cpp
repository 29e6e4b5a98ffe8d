#include "plan_view.h"

#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

#include "text_encoding.h"
#include "window_colours.h"

namespace marvolt {

namespace {

constexpr double kFrame = 0.05;  // the share of the extent left around it

}  // namespace

PlanView::PlanView(QWidget* parent) : QChartView(parent) {
    auto* plot = new QChart;
    plot->legend()->hide();
    plot->setMargins(QMargins(4, 4, 4, 4));
    setChart(plot);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::RectangleRubberBand);

    east_ = new QValueAxis;
    east_->setTitleText(QStringLiteral("Wschód [m]"));
    east_->setLabelFormat(QStringLiteral("%.0f"));
    north_ = new QValueAxis;
    north_->setTitleText(QStringLiteral("Północ [m]"));
    north_->setLabelFormat(QStringLiteral("%.0f"));
    plot->addAxis(east_, Qt::AlignBottom);
    plot->addAxis(north_, Qt::AlignLeft);

    track_ = new QLineSeries;
    track_->setPen(QPen(QColor(0, 0, 160), 1));
    points_ = new QScatterSeries;
    points_->setMarkerSize(9);
    points_->setColor(kWindowRed);
    points_->setBorderColor(QColor(96, 0, 0));
    for (QXYSeries* series : {static_cast<QXYSeries*>(track_), static_cast<QXYSeries*>(points_)}) {
        plot->addSeries(series);
        series->attachAxis(east_);
        series->attachAxis(north_);
    }
    clearSurvey();
}

void PlanView::clearSurvey() {
    track_->clear();
    points_->clear();
    names_.clear();
    extent_ = QRectF(-50, -50, 100, 100);
    fitSquare();
}

void PlanView::setSurvey(const std::vector<PointResult>& points,
                         const std::vector<TrackSample>& places,
                         const std::vector<TrackSample>& track) {
    QList<QPointF> line;
    const std::size_t stride = track.size() / kMostShown + 1;
    for (std::size_t i = 0; i < track.size(); i += stride)
        line << QPointF(track[i].east, track[i].north);
    if (!track.empty() && (track.size() - 1) % stride != 0)
        line << QPointF(track.back().east, track.back().north);
    track_->replace(line);

    QList<QPointF> marks;
    names_.clear();
    for (std::size_t i = 0; i < points.size() && i < places.size(); ++i) {
        if (std::isnan(places[i].east)) continue;
        marks << QPointF(places[i].east, places[i].north);
        names_.push_back(QString::fromStdString(cp1250ToUtf8(points[i].window.name)));
    }
    points_->replace(marks);

    QRectF extent;
    for (const QList<QPointF>* list : {&line, &marks})
        for (const QPointF& p : *list)
            extent = extent.isNull() ? QRectF(p, QSizeF(1e-3, 1e-3))
                                     : extent.united(QRectF(p, QSizeF(1e-3, 1e-3)));
    extent_ = extent.isNull() ? QRectF(-50, -50, 100, 100) : extent;
    fitSquare();
}

void PlanView::fitSquare() {
    const QRectF area = chart()->plotArea();
    QRectF shown = extent_.adjusted(-extent_.width() * kFrame, -extent_.height() * kFrame,
                                    extent_.width() * kFrame, extent_.height() * kFrame);
    shown = shown.united(QRectF(shown.center() - QPointF(5, 5), QSizeF(10, 10)));
    if (area.width() > 0 && area.height() > 0) {
        const double perPixel =
            std::max(shown.width() / area.width(), shown.height() / area.height());
        const QPointF middle = shown.center();
        shown = QRectF(middle.x() - perPixel * area.width() / 2,
                       middle.y() - perPixel * area.height() / 2, perPixel * area.width(),
                       perPixel * area.height());
    }
    east_->setRange(shown.left(), shown.right());
    north_->setRange(shown.top(), shown.bottom());
}

void PlanView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    fitSquare();
}

void PlanView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    painter->save();
    painter->setClipRect(chart()->plotArea());
    painter->setPen(kWindowMaroon);
    for (int i = 0; i < points_->count() && i < static_cast<int>(names_.size()); ++i) {
        const QPointF at = chart()->mapToPosition(points_->at(i), points_);
        painter->drawText(at + QPointF(6, -6), names_[static_cast<std::size_t>(i)]);
    }
    painter->restore();
}

}  // namespace marvolt
