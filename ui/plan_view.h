#pragma once
// The points dialog's plan: the day's track on a local plane (east and north in metres from
// its first epoch) with the averaged points and their names, one metre the same length on
// both axes. A drag zooms to a rectangle, the right button zooms out.

#include <QChartView>
#include <vector>

#include "survey_check.h"
#include "track_profile.h"

class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace marvolt {

class PlanView : public QChartView {
    Q_OBJECT
  public:
    // The most track epochs drawn.
    static constexpr int kMostShown = 5000;

    explicit PlanView(QWidget* parent = nullptr);

    // The track and each point's place (NaN for a point without a coordinate).
    void setSurvey(const std::vector<PointResult>& points, const std::vector<TrackSample>& places,
                   const std::vector<TrackSample>& track);
    void clearSurvey();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

  private:
    // Axis ranges around everything shown, metres the same length on both.
    void fitSquare();

    QValueAxis* east_;
    QValueAxis* north_;
    QLineSeries* track_;
    QScatterSeries* points_;
    std::vector<QString> names_;
    QRectF extent_;
};

}  // namespace marvolt
