#include "points_model.h"

#include "points_report.h"
#include "window_colours.h"

namespace marvolt {

namespace {

constexpr std::size_t kGridX = 4;  // x and y in the core's value list
constexpr std::size_t kGridColumns = 2;

QString seconds(double value) {
    return QString::asprintf("%+.1f s", value)
        .replace(QStringLiteral("-0.0"), QStringLiteral("+0.0"));
}

}  // namespace

QColor stateColour(PointState state) {
    switch (state) {
        case PointState::Ok:
            return kWindowLime;
        case PointState::Shifted:
            return kWindowYellow;
        default:
            return kWindowRed;
    }
}

QString stateHint(const PointResult& point, double tolerance) {
    const QString window =
        QStringLiteral("%1 epok rozwiązania w oknie zegarka").arg(point.epochsWindow);
    switch (point.state) {
        case PointState::NoData:
            return QStringLiteral("Brak epok rozwiązania między STOP i GO z tabeli czasów.");
        case PointState::Moving:
            return QStringLiteral("%1, z nich nieruchomych %2: mniej niż połowa.")
                .arg(window)
                .arg(point.epochsStanding);
        default:
            break;
    }
    QString ends;
    const auto end = [&](const char* name, const std::optional<double>& offset) {
        return offset ? QStringLiteral("%1 w danych %2 od zegarka")
                            .arg(QLatin1String(name), seconds(*offset))
                      : QStringLiteral(
                            "%1 w danych nie widać (antena stała przez cały margines "
                            "lub przerwa w rozwiązaniu)")
                            .arg(QLatin1String(name));
    };
    return QStringLiteral(
               "%1, z nich nieruchomych %2; uśrednionych %3, fix %4%.\n%5;\n%6;\n"
               "tolerancja %7 s.")
        .arg(window)
        .arg(point.epochsStanding)
        .arg(point.coordinate.epochsUsed)
        .arg(QString::number(point.fixShare * 100.0, 'f', 0))
        .arg(end("STOP", point.stopOffset()), end("GO", point.goOffset()))
        .arg(QString::number(tolerance, 'f', 1));
}

void PointsModel::setPoints(std::vector<PointResult> points, bool withGrid, double tolerance) {
    beginResetModel();
    points_ = std::move(points);
    values_.clear();
    for (const PointResult& point : points_) values_.push_back(pointValues(point));
    withGrid_ = withGrid;
    tolerance_ = tolerance;
    endResetModel();
}

int PointsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(points_.size());
}

int PointsModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(pointColumns().size() - (withGrid_ ? 0 : kGridColumns));
}

std::size_t PointsModel::valueColumn(int column) const {
    const auto c = static_cast<std::size_t>(column);
    return withGrid_ || c < kGridX ? c : c + kGridColumns;
}

QVariant PointsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const PointResult& point = points_[static_cast<std::size_t>(index.row())];
    const std::size_t column = valueColumn(index.column());
    const bool stateColumn = column + 1 == pointColumns().size();
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(values_[static_cast<std::size_t>(index.row())][column]);
        case Qt::BackgroundRole:
            return stateColumn ? QVariant(stateColour(point.state)) : QVariant();
        case Qt::ToolTipRole:
            return stateHint(point, tolerance_);
        case Qt::TextAlignmentRole:
            return column == 0 || stateColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                              : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant PointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QString::fromStdString(pointColumns()[valueColumn(section)]);
}

}  // namespace marvolt
