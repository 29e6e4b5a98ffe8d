#include "points_chart.h"

#include <QAreaSeries>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "text_encoding.h"
#include "window_colours.h"

namespace marvolt {

namespace {

constexpr qreal kGpsToUnixMs = 315964800000.0;  // 1980-01-06 on the Unix clock, ms
constexpr double kWheelStep = 0.8;              // the span kept by one notch of the wheel
constexpr double kLeastSpanMs = 2000.0;
constexpr double kTopShare = 0.99;  // of the speeds below the top of the scale
const QColor kWindowShade(64, 128, 255, 60);
const QColor kNotOkShade(255, 0, 0, 70);
const QColor kOccupation(0, 140, 0);

QString name(const PointResult& point) {
    return QString::fromStdString(cp1250ToUtf8(point.window.name));
}

}  // namespace

PointsChart::PointsChart(QWidget* parent) : QChartView(parent) {
    auto* plot = new QChart;
    plot->legend()->hide();
    plot->setMargins(QMargins(4, 4, 4, 4));
    setChart(plot);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::HorizontalRubberBand);

    timeAxis_ = new QDateTimeAxis;
    timeAxis_->setFormat(QStringLiteral("HH:mm:ss"));
    timeAxis_->setTitleText(QStringLiteral("Czas GPS"));
    speedAxis_ = new QValueAxis;
    speedAxis_->setTitleText(QStringLiteral("Prędkość pozioma [m/s]"));
    speedAxis_->setLabelFormat(QStringLiteral("%.1f"));
    plot->addAxis(timeAxis_, Qt::AlignBottom);
    plot->addAxis(speedAxis_, Qt::AlignLeft);

    speedPiece(0);
    connect(timeAxis_, &QDateTimeAxis::rangeChanged, this, [this] { thinSpeed(); });
    clearSurvey();
}

qreal PointsChart::axisTime(GpsSeconds time) const {
    return time * 1000.0 + kGpsToUnixMs + offset_;
}

void PointsChart::removeWindows() {
    for (QAbstractSeries* series : windowSeries_) {
        chart()->removeSeries(series);
        delete series;
    }
    windowSeries_.clear();
}

void PointsChart::clearSurvey() {
    removeWindows();
    track_.clear();
    trackTimes_.clear();
    points_.clear();
    ranges_.clear();
    for (QLineSeries* piece : speed_) piece->clear();
    speedAxis_->setRange(0.0, 1.0);
    const qreal now = static_cast<qreal>(QDateTime::currentMSecsSinceEpoch());
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(now)),
                        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(now + 3.6e6)));
}

void PointsChart::setSurvey(const std::vector<PointResult>& points,
                            const std::vector<SearchRange>& ranges, std::vector<TrackSample> track,
                            double longestStep) {
    removeWindows();
    gapMs_ = longestStep * 1000.0;
    points_ = points;
    ranges_ = ranges;
    track_ = std::move(track);
    // The axis shows local time; the offset of the day's first moment makes it show GPS time.
    const GpsSeconds first = !track_.empty()    ? track_.front().time
                             : !points_.empty() ? points_.front().window.stop
                                                : 0.0;
    offset_ = 0.0;
    offset_ = -1000.0 *
              QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(axisTime(first))).offsetFromUtc();
    trackTimes_.clear();
    std::vector<double> speeds;
    for (const TrackSample& sample : track_) {
        trackTimes_.push_back(axisTime(sample.time));
        speeds.push_back(sample.speed);
    }
    // A jump of the solution reads as a moment's great speed: the scale keeps to the speeds
    // of the day's driving or walking, a jump runs off the top.
    top_ = 1.0;
    if (!speeds.empty()) {
        auto at = speeds.begin() + static_cast<std::ptrdiff_t>(speeds.size() * kTopShare);
        std::nth_element(speeds.begin(), at, speeds.end());
        top_ = std::max(top_, *at * 1.2);
    }
    speedAxis_->setRange(0.0, top_);

    for (const PointResult& point : points_) {
        auto* area = new QAreaSeries;
        auto* upper = new QLineSeries(area);
        *upper << QPointF(axisTime(point.window.stop), top_)
               << QPointF(axisTime(point.window.go), top_);
        area->setUpperSeries(upper);
        area->setName(name(point));
        const QColor shade = point.state == PointState::Ok ? kWindowShade : kNotOkShade;
        area->setBrush(shade);
        area->setPen(QPen(shade.darker(150), 1));
        windowSeries_.push_back(area);
    }
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const PointResult& point = points_[i];
        if (point.state != PointState::Ok && point.state != PointState::Shifted) continue;
        // An end the data does not show lies beyond the margin searched.
        const double from = point.stopData.value_or(point.window.stop - ranges_[i].stopMargin);
        const double to = point.goData.value_or(point.window.go + ranges_[i].goMargin);
        auto* occupation = new QLineSeries;
        occupation->setName(name(point) + QStringLiteral(": postój w danych"));
        occupation->setPen(QPen(kOccupation, 4));
        *occupation << QPointF(axisTime(from), top_ * 0.05) << QPointF(axisTime(to), top_ * 0.05);
        windowSeries_.push_back(occupation);
    }
    for (QAbstractSeries* series : windowSeries_) {
        chart()->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(speedAxis_);
    }
    showAll();
}

void PointsChart::showAll() {
    bool any = false;
    qreal from = 0.0, to = 0.0;
    const auto take = [&](qreal start, qreal end) {
        from = any ? std::min(from, start) : start;
        to = any ? std::max(to, end) : end;
        any = true;
    };
    if (!trackTimes_.empty()) take(trackTimes_.front(), trackTimes_.back());
    for (const PointResult& point : points_)
        take(axisTime(std::min(point.window.stop, point.window.go)),
             axisTime(std::max(point.window.stop, point.window.go)));
    if (any) setTimeRange(from, to);
}

void PointsChart::showPoint(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= points_.size()) return;
    const auto i = static_cast<std::size_t>(row);
    const WatchWindow& window = points_[i].window;
    setTimeRange(axisTime(std::min(window.stop, window.go) - ranges_[i].stopMargin),
                 axisTime(std::max(window.stop, window.go) + ranges_[i].goMargin));
}

void PointsChart::setTimeRange(qreal from, qreal to) {
    if (to - from < kLeastSpanMs) {
        const qreal middle = (from + to) / 2;
        from = middle - kLeastSpanMs / 2;
        to = middle + kLeastSpanMs / 2;
    }
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(from))),
                        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(to))));
}

QLineSeries* PointsChart::speedPiece(std::size_t piece) {
    while (speed_.size() <= piece) {
        auto* series = new QLineSeries;
        series->setName(QStringLiteral("Prędkość pozioma"));
        series->setPen(QPen(QColor(0, 0, 160), 1));
        chart()->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(speedAxis_);
        speed_.push_back(series);
    }
    return speed_[piece];
}

void PointsChart::thinSpeed() {
    const qreal from = static_cast<qreal>(timeAxis_->min().toMSecsSinceEpoch());
    const qreal to = static_cast<qreal>(timeAxis_->max().toMSecsSinceEpoch());
    // One sample beyond each edge, so that the line reaches the edges.
    auto first = static_cast<std::size_t>(
        std::lower_bound(trackTimes_.begin(), trackTimes_.end(), from) - trackTimes_.begin());
    auto last = static_cast<std::size_t>(
        std::upper_bound(trackTimes_.begin(), trackTimes_.end(), to) - trackTimes_.begin());
    if (first > 0) --first;
    if (last < trackTimes_.size()) ++last;
    std::vector<std::size_t> shown;
    const std::size_t count = last > first ? last - first : 0;
    const bool thinned = count > static_cast<std::size_t>(kMostShown);
    if (!thinned) {
        for (std::size_t i = first; i < last; ++i) shown.push_back(i);
    } else {
        const std::size_t stretches = kMostShown / 2;
        for (std::size_t s = 0; s < stretches; ++s) {
            const std::size_t begin = first + count * s / stretches;
            const std::size_t end = first + count * (s + 1) / stretches;
            if (begin == end) continue;
            std::size_t slow = begin, fast = begin;
            for (std::size_t i = begin; i < end; ++i) {
                if (track_[i].speed < track_[slow].speed) slow = i;
                if (track_[i].speed > track_[fast].speed) fast = i;
            }
            shown.push_back(std::min(slow, fast));
            if (slow != fast) shown.push_back(std::max(slow, fast));
        }
    }
    // A gap shorter than a stretch of the thinned line cannot be seen: it stays bridged.
    const qreal breakAt = std::max(gapMs_, thinned ? 2.0 * (to - from) / (kMostShown / 2) : 0.0);
    std::vector<QList<QPointF>> pieces(1);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        if (k > 0 && pieces.size() < kMostPieces) {
            qreal longest = 0.0;
            for (std::size_t i = shown[k - 1]; i < shown[k]; ++i)
                longest = std::max(longest, trackTimes_[i + 1] - trackTimes_[i]);
            if (longest > breakAt) pieces.emplace_back();
        }
        pieces.back() << QPointF(trackTimes_[shown[k]], track_[shown[k]].speed);
    }
    for (std::size_t piece = 0; piece < std::max(pieces.size(), speed_.size()); ++piece) {
        if (piece < pieces.size())
            speedPiece(piece)->replace(pieces[piece]);
        else
            speed_[piece]->clear();
    }
}

void PointsChart::wheelEvent(QWheelEvent* event) {
    const QRectF area = chart()->plotArea();
    const qreal from = static_cast<qreal>(timeAxis_->min().toMSecsSinceEpoch());
    const qreal to = static_cast<qreal>(timeAxis_->max().toMSecsSinceEpoch());
    if (area.width() <= 0 || event->angleDelta().y() == 0) return;
    const qreal share = std::clamp((event->position().x() - area.left()) / area.width(), 0.0, 1.0);
    const qreal at = from + share * (to - from);
    const double factor = std::pow(kWheelStep, event->angleDelta().y() / 120.0);
    setTimeRange(at - share * (to - from) * factor, at + (1.0 - share) * (to - from) * factor);
    event->accept();
}

void PointsChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) return QChartView::mouseReleaseEvent(event);
    // Out in time alone: the speed keeps its scale.
    const qreal from = static_cast<qreal>(timeAxis_->min().toMSecsSinceEpoch());
    const qreal to = static_cast<qreal>(timeAxis_->max().toMSecsSinceEpoch());
    setTimeRange(from - (to - from) / 2, to + (to - from) / 2);
    event->accept();
}

void PointsChart::mouseDoubleClickEvent(QMouseEvent* event) {
    showAll();
    event->accept();
}

void PointsChart::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF area = chart()->plotArea();
    painter->save();
    painter->setClipRect(area);
    painter->setPen(QColor(32, 32, 32));
    const QFontMetrics metrics(painter->font());
    for (const PointResult& point : points_) {
        const QPointF at = chart()->mapToPosition(
            QPointF(axisTime((point.window.stop + point.window.go) / 2), top_), speed_.front());
        const QString text = name(point);
        painter->drawText(QPointF(at.x() - metrics.horizontalAdvance(text) / 2.0,
                                  area.top() + metrics.ascent() + 2),
                          text);
    }
    painter->restore();
}

}  // namespace marvolt
