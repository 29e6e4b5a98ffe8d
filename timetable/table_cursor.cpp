#include "table_cursor.h"

#include <algorithm>

namespace marvolt {

TableCursor::TableCursor(TimeTable& table) : table_(table) { table_.addObserver(this); }

TableCursor::~TableCursor() { table_.removeObserver(this); }

void TableCursor::addObserver(TableObserver* observer) { observers_.push_back(observer); }

void TableCursor::removeObserver(TableObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TableCursor::first() {
    table_.checkOpen();
    table_.finishRecord();
    const bool empty = table_.recordCount() == 0;
    moved(empty ? -1 : 0, true, empty);
}

void TableCursor::last() {
    table_.checkOpen();
    table_.finishRecord();
    const int records = table_.recordCount();
    moved(records - 1, records == 0, true);
}

void TableCursor::next() {
    table_.checkOpen();
    table_.finishRecord();
    if (current_ + 1 < table_.recordCount())
        moved(current_ + 1, false, false);
    else
        moved(current_, bof_, true);
}

void TableCursor::prior() {
    table_.checkOpen();
    table_.finishRecord();
    if (current_ > 0)
        moved(current_ - 1, false, false);
    else
        moved(current_, true, eof_);
}

void TableCursor::moveTo(int row) {
    table_.checkOpen();
    const int rows = table_.rowCount();
    if (rows == 0) {
        moved(-1, true, true);
        return;
    }
    row = std::clamp(row, 0, rows - 1);
    if (table_.editingOrInserting() && row != current_) row = table_.finishRecordKeeping(row);
    moved(row, false, false);
}

void TableCursor::insert() {
    table_.checkOpen();
    table_.finishRecord();
    table_.insert(std::max(current_, 0));
}

void TableCursor::append() {
    table_.checkOpen();
    table_.finishRecord();
    table_.insert(table_.recordCount());
}

void TableCursor::edit() { table_.edit(current_); }

void TableCursor::remove() { table_.remove(current_); }

void TableCursor::moved(int row, bool bof, bool eof) {
    current_ = row;
    bof_ = bof;
    eof_ = eof;
    for (TableObserver* observer : observers_) observer->dataChanged();
}

void TableCursor::rowInserted(int row) {
    current_ = row;
    bof_ = false;
    eof_ = false;
}

void TableCursor::rowRemoved(int row) {
    // The table browses again: its rows are its posted records.
    const int records = table_.rowCount();
    current_ = std::min(row, records - 1);
    bof_ = records == 0;
    eof_ = records == 0;
}

void TableCursor::dataChanged() {
    // A record being edited or inserted is where the cursor stands.
    if (table_.editingOrInserting()) current_ = table_.editRow();
}

}  // namespace marvolt
