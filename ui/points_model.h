#pragma once
// The points dialog's table: one row per point with the columns of marvolt-cli's table, the
// state cell in the window's colours and a tool tip with the numbers behind the state.

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "survey_check.h"

namespace marvolt {

// lime for OK, yellow for "przesunięty", red for "ruch" and "brak danych".
QColor stateColour(PointState state);

// What a point's state rests on, in the user's words.
QString stateHint(const PointResult& point, double tolerance);

class PointsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // The points shown, x and y among the columns when `withGrid`; `tolerance` the survey's.
    void setPoints(std::vector<PointResult> points, bool withGrid, double tolerance);
    const std::vector<PointResult>& points() const { return points_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    // The column of the core's value list shown in `column`.
    std::size_t valueColumn(int column) const;

    std::vector<PointResult> points_;
    std::vector<std::vector<std::string>> values_;  // each point's cells, made once
    bool withGrid_ = false;
    double tolerance_ = 0.0;
};

}  // namespace marvolt
