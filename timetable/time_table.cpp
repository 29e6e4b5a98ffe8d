#include "time_table.h"

#include <algorithm>
#include <utility>

#include "date_time.h"
#include "failure.h"

namespace marvolt {

TimeTable::TimeTable(LocaleSettings locale) : locale_(std::move(locale)) {}

void TimeTable::addObserver(TableObserver* observer) { observers_.push_back(observer); }

void TimeTable::removeObserver(TableObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

template <typename Call>
void TimeTable::notify(Call call) {
    for (TableObserver* observer : observers_) call(*observer);
}

void TimeTable::notifyDataChanged() {
    notify([](TableObserver& observer) { observer.dataChanged(); });
}

void TimeTable::open() {
    if (state_ != TableState::Closed) return;
    state_ = TableState::Browsing;
    notifyDataChanged();
}

bool TimeTable::editingOrInserting() const {
    return state_ == TableState::Editing || state_ == TableState::Inserting;
}

int TimeTable::recordCount() const {
    checkOpen();
    return static_cast<int>(records_.size());
}

int TimeTable::rowCount() const {
    return static_cast<int>(records_.size()) + (state_ == TableState::Inserting ? 1 : 0);
}

const TimeRecord& TimeTable::row(int row) const {
    if (editingOrInserting() && row == editRow_) return buffer_;
    const int index = state_ == TableState::Inserting && row > editRow_ ? row - 1 : row;
    return records_.at(static_cast<std::size_t>(index));
}

void TimeTable::insert(int row) {
    checkOpen();
    finishRecord();
    startInsert(row);
}

void TimeTable::startInsert(int row) {
    notify([row](TableObserver& observer) { observer.rowAboutToBeInserted(row); });
    state_ = TableState::Inserting;
    buffer_ = TimeRecord{};
    modified_ = false;
    editRow_ = row;
    notify([row](TableObserver& observer) { observer.rowInserted(row); });
    notifyDataChanged();
}

void TimeTable::edit(int row) {
    checkOpen();
    if (editingOrInserting()) return;
    if (records_.empty()) {
        startInsert(0);
        return;
    }
    buffer_ = records_.at(static_cast<std::size_t>(row));
    editRow_ = row;
    state_ = TableState::Editing;
    modified_ = false;
    notifyDataChanged();
}

void TimeTable::post() {
    if (editingOrInserting()) store();
}

int TimeTable::store() {
    const int from = editRow_;
    const bool inserting = state_ == TableState::Inserting;
    const auto& stop = buffer_.time(Field::Stop);
    const bool stopChanged =
        inserting || stop != records_.at(static_cast<std::size_t>(from)).time(Field::Stop);
    const auto skip = inserting ? std::nullopt : std::optional<std::size_t>(from);
    const int to = stopChanged ? static_cast<int>(records_.positionFor(stop, skip)) : from;

    if (to != from)
        notify([from, to](TableObserver& observer) { observer.rowAboutToBeMoved(from, to); });
    if (!stopChanged) {
        records_.at(static_cast<std::size_t>(from)) = std::move(buffer_);
    } else {
        if (!inserting) records_.erase(static_cast<std::size_t>(from));
        records_.insert(std::move(buffer_));
    }
    buffer_ = TimeRecord{};
    state_ = TableState::Browsing;
    modified_ = false;
    ++revision_;
    if (to != from) notify([from, to](TableObserver& observer) { observer.rowMoved(from, to); });
    notifyDataChanged();
    return to;
}

void TimeTable::cancel() {
    if (state_ == TableState::Inserting) {
        removeRow(editRow_);
    } else if (state_ == TableState::Editing) {
        const bool shownChanged = modified_;
        buffer_ = TimeRecord{};
        state_ = TableState::Browsing;
        modified_ = false;
        if (shownChanged)
            notify([this](TableObserver& observer) { observer.rowChanged(editRow_); });
        notifyDataChanged();
    }
}

void TimeTable::remove(int row) {
    checkOpen();
    if (state_ != TableState::Inserting && records_.empty())
        throw Failure("Cannot perform this operation on an empty dataset");
    removeRow(editingOrInserting() ? editRow_ : row);
}

void TimeTable::removeRow(int row) {
    notify([row](TableObserver& observer) { observer.rowAboutToBeRemoved(row); });
    if (state_ != TableState::Inserting) {
        records_.erase(static_cast<std::size_t>(row));
        ++revision_;
    }
    buffer_ = TimeRecord{};
    state_ = TableState::Browsing;
    modified_ = false;
    notify([row](TableObserver& observer) { observer.rowRemoved(row); });
    notifyDataChanged();
}

void TimeTable::finishRecord() {
    if (!editingOrInserting()) return;
    if (modified_)
        store();
    else
        cancel();
}

int TimeTable::finishRecordKeeping(int row) {
    if (!editingOrInserting()) return row;
    // The other rows keep their order; only the finished record leaves or changes place.
    const int others = row > editRow_ ? row - 1 : row;
    int landed = -1;
    if (modified_) {
        landed = store();
    } else {
        if (state_ == TableState::Editing) landed = editRow_;
        cancel();
    }
    return landed >= 0 && landed <= others ? others + 1 : others;
}

void TimeTable::markTyped() {
    checkEditing();
    buffer_.typed = true;
}

bool TimeTable::hasTypedRecords() const {
    if (editingOrInserting() && buffer_.typed) return true;
    bool typed = false;
    records_.forEach([&typed](const TimeRecord& record) { typed = typed || record.typed; });
    return typed;
}

void TimeTable::clearTypedMarks() {
    records_.forEach([](TimeRecord& record) { record.typed = false; });
    buffer_.typed = false;
}

void TimeTable::setText(Field field, std::string_view text) {
    checkEditing();
    if (field == Field::Punkt)
        buffer_.punkt.assign(text.substr(0, kPunktSize));
    else if (text.empty())
        buffer_.time(field).reset();
    else
        buffer_.time(field) = millisecondsOfDay(readTimeText(text, locale_));
    fieldWritten();
}

void TimeTable::setTime(Field field, double value) {
    checkEditing();
    buffer_.time(field) = millisecondsOfDay(value);
    fieldWritten();
}

void TimeTable::setShiftedTimes(double shift) {
    checkOpen();
    finishRecord();
    const auto shifted = [shift](const std::optional<std::int32_t>& time) {
        return millisecondsOfDay((time ? timeValue(*time) : 0.0) + shift);
    };
    for (std::size_t i = 0; i < records_.size(); ++i) {
        TimeRecord& record = records_.at(i);
        record.time(Field::Stop2) = shifted(record.time(Field::Stop));
        record.time(Field::Go2) = shifted(record.time(Field::Go));
        notify([i](TableObserver& observer) { observer.rowChanged(static_cast<int>(i)); });
    }
    ++revision_;
    notifyDataChanged();
}

void TimeTable::fieldWritten() {
    modified_ = true;
    notify([this](TableObserver& observer) { observer.rowChanged(editRow_); });
    notifyDataChanged();
}

void TimeTable::checkOpen() const {
    if (state_ == TableState::Closed)
        throw Failure("Cannot perform this operation on a closed dataset");
}

void TimeTable::checkEditing() const {
    if (!editingOrInserting()) throw Failure("Dataset not in edit or insert mode");
}

}  // namespace marvolt
