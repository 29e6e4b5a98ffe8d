#pragma once
// The points dialog's chart: the antenna's horizontal speed against GPS time over the day,
// each point's watch window (STOP to GO on the receiver's scale) shaded and named, red where
// the point is not OK, the occupation the data shows drawn over it. The wheel zooms the time
// around the mouse, a drag zooms to what it spans, the right button zooms out, a double
// click shows the whole day.

#include <QChartView>
#include <vector>

#include "epoch_collector.h"
#include "survey_check.h"
#include "track_profile.h"

class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace marvolt {

class PointsChart : public QChartView {
    Q_OBJECT
  public:
    // The most speed samples drawn at once, whatever the day's length or the zoom.
    static constexpr int kMostShown = 2000;

    explicit PointsChart(QWidget* parent = nullptr);

    // The most pieces the speed line is broken into where the solution has gaps.
    static constexpr std::size_t kMostPieces = 64;

    // Shows a survey's points (with the search ranges of their windows) and its track, whose
    // line is broken where the solution has a gap longer than `longestStep` seconds.
    void setSurvey(const std::vector<PointResult>& points, const std::vector<SearchRange>& ranges,
                   std::vector<TrackSample> track, double longestStep);
    void clearSurvey();
    // The time axis set to the point's window with its margins.
    void showPoint(int row);
    // The whole day.
    void showAll();

    // A GPS time as the time axis holds it (milliseconds, shown as the GPS time of day).
    qreal axisTime(GpsSeconds time) const;
    QDateTimeAxis* timeAxis() const { return timeAxis_; }
    // The pieces of the speed line (some of them empty).
    const std::vector<QLineSeries*>& speedPieces() const { return speed_; }

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

  private:
    void setTimeRange(qreal from, qreal to);
    // The speed samples of the visible time, at most kMostShown: the slowest and the fastest
    // of each stretch where there are more; the line broken at the gaps of the solution that
    // are longer than a stretch.
    void thinSpeed();
    QLineSeries* speedPiece(std::size_t piece);
    void removeWindows();

    QDateTimeAxis* timeAxis_;
    QValueAxis* speedAxis_;
    std::vector<QLineSeries*> speed_;
    std::vector<QAbstractSeries*> windowSeries_;  // areas and occupations
    std::vector<TrackSample> track_;
    std::vector<qreal> trackTimes_;  // track_'s times on the axis
    std::vector<PointResult> points_;
    std::vector<SearchRange> ranges_;
    qreal offset_ = 0.0;  // ms added so that the axis shows GPS time of day
    double top_ = 1.0;    // the speed axis's top, m/s
    double gapMs_ = 0.0;  // the least gap of the solution that breaks the line
};

}  // namespace marvolt
