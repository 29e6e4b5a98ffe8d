#include "time_table_model.h"

#include <QColor>
#include <algorithm>

#include "cell_text.h"
#include "failure.h"
#include "text_encoding.h"

namespace marvolt {

namespace {

const char* const kTitles[kFieldCount] = {"Punkt", "Stop (zeg.)", "Go (zeg.)", "Stop (GMT)",
                                          "Go (GMT)"};

Field fieldOf(int column) { return static_cast<Field>(column); }

// STOP2 and GO2 are written by the analysis only.
bool readOnly(int column) {
    return fieldOf(column) == Field::Stop2 || fieldOf(column) == Field::Go2;
}

constexpr unsigned char kStopMissed = 1;
constexpr unsigned char kGoMissed = 2;

unsigned char missBit(int column) {
    if (fieldOf(column) == Field::Stop2) return kStopMissed;
    return fieldOf(column) == Field::Go2 ? kGoMissed : 0;
}

}  // namespace

TimeTableModel::TimeTableModel(TimeTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
    table_.addObserver(&link_);
    cursor_.addObserver(&link_);
}

TimeTableModel::~TimeTableModel() {
    cursor_.removeObserver(&link_);
    table_.removeObserver(&link_);
}

int TimeTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || table_.state() == TableState::Closed) return 0;
    return table_.rowCount();
}

int TimeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFieldCount;
}

QVariant TimeTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            const std::string text = cellText(table_, index.row(), fieldOf(index.column()));
            return QString::fromStdString(
                fieldOf(index.column()) == Field::Punkt ? cp1250ToUtf8(text) : text);
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(fieldOf(index.column()) == Field::Punkt
                                           ? Qt::AlignLeft | Qt::AlignVCenter
                                           : Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (missed(index)) return QColor(Qt::red);
            return readOnly(index.column()) ? QVariant(QColor(Qt::yellow)) : QVariant();
        case Qt::ToolTipRole:
            return missed(index) ? QStringLiteral("Plik RINEX nie ma epoki o tym czasie.")
                                 : QVariant();
        default:
            return {};
    }
}

bool TimeTableModel::missed(const QModelIndex& index) const {
    const auto row = static_cast<std::size_t>(index.row());
    return row < misses_.size() && (misses_[row] & missBit(index.column())) != 0;
}

void TimeTableModel::showMisses(const std::vector<Miss>& misses) {
    misses_.assign(static_cast<std::size_t>(rowCount()), 0);
    for (const Miss& miss : misses)
        if (miss.row >= 0 && miss.row < rowCount())
            misses_[static_cast<std::size_t>(miss.row)] =
                (miss.stop ? kStopMissed : 0) | (miss.go ? kGoMissed : 0);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, kFieldCount - 1));
}

QVariant TimeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= kFieldCount) return {};
        if (role == Qt::DisplayRole) return QString::fromUtf8(kTitles[section]);
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    return section == cursor_.currentRow() ? currentMark(table_.state()) : QString();
}

QString TimeTableModel::currentMark(TableState state) {
    switch (state) {
        case TableState::Editing:
            return QStringLiteral("I");
        case TableState::Inserting:
            return QStringLiteral("*");
        default:
            return QStringLiteral("▶");
    }
}

Qt::ItemFlags TimeTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return readOnly(index.column()) ? flags : flags | Qt::ItemIsEditable;
}

bool TimeTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        readOnly(index.column()))
        return false;
    const Field field = fieldOf(index.column());
    const std::string text = value.toString().toStdString();
    try {
        if (index.row() != cursor_.currentRow()) cursor_.moveTo(index.row());
        if (!table_.editingOrInserting()) cursor_.edit();
        table_.setText(field, field == Field::Punkt ? utf8ToCp1250(text) : text);
        table_.markTyped();
    } catch (const Failure& failure) {
        emit writeFailed(QString::fromStdString(failure.text()));
        return false;
    }
    return true;
}

void TimeTableModel::Link::rowAboutToBeInserted(int row) {
    model_.rowsChanging_ = true;
    model_.beginInsertRows(QModelIndex(), row, row);
}

void TimeTableModel::Link::rowInserted(int row) {
    auto& misses = model_.misses_;
    if (static_cast<std::size_t>(row) < misses.size()) misses.insert(misses.begin() + row, 0);
    model_.endInsertRows();
    model_.rowsChanging_ = false;
}

void TimeTableModel::Link::rowAboutToBeRemoved(int row) {
    model_.rowsChanging_ = true;
    model_.beginRemoveRows(QModelIndex(), row, row);
}

void TimeTableModel::Link::rowRemoved(int row) {
    auto& misses = model_.misses_;
    if (static_cast<std::size_t>(row) < misses.size()) misses.erase(misses.begin() + row);
    model_.endRemoveRows();
    model_.rowsChanging_ = false;
}

void TimeTableModel::Link::rowAboutToBeMoved(int from, int to) {
    // Qt counts the destination before the move: moving down to row `to` goes in front of
    // the row that now stands at to + 1.
    const int destination = to > from ? to + 1 : to;
    model_.rowsChanging_ = true;
    model_.moving_ =
        from != to && model_.beginMoveRows(QModelIndex(), from, from, QModelIndex(), destination);
}

void TimeTableModel::Link::rowMoved(int from, int to) {
    auto& misses = model_.misses_;
    if (static_cast<std::size_t>(std::max(from, to)) < misses.size()) {
        const unsigned char moved = misses[static_cast<std::size_t>(from)];
        misses.erase(misses.begin() + from);
        misses.insert(misses.begin() + to, moved);
    }
    if (model_.moving_) model_.endMoveRows();
    model_.moving_ = false;
    model_.rowsChanging_ = false;
}

void TimeTableModel::Link::rowChanged(int row) {
    if (row < 0 || row >= model_.rowCount()) return;
    // The record was edited (or shifted by a new analysis): its marks no longer hold.
    if (static_cast<std::size_t>(row) < model_.misses_.size())
        model_.misses_[static_cast<std::size_t>(row)] = 0;
    emit model_.dataChanged(model_.index(row, 0), model_.index(row, kFieldCount - 1));
}

void TimeTableModel::Link::dataChanged() {
    const int rows = model_.rowCount();
    if (rows > 0) emit model_.headerDataChanged(Qt::Vertical, 0, rows - 1);
    emit model_.dataSetChanged();
}

}  // namespace marvolt
