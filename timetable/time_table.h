#pragma once
// The time table: the in-memory record set of surveyed points, kept in STOP order, with
// the editing of one record at a time that a grid and the import do. Where a grid stands
// is its TableCursor's business; how a field is shown is cellText's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "locale_settings.h"
#include "stop_ordered_records.h"
#include "time_record.h"

namespace marvolt {

enum class TableState { Closed, Browsing, Editing, Inserting };

// Told of every change, so that a view can follow. Rows are the rows a grid shows: the
// posted records in STOP order plus, while inserting, the new record at its row. Each
// "about to" call comes before anything changes, its partner after the change.
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    virtual void rowAboutToBeInserted(int /*row*/) {}
    virtual void rowInserted(int /*row*/) {}
    virtual void rowAboutToBeRemoved(int /*row*/) {}
    virtual void rowRemoved(int /*row*/) {}
    // `to` is the row the record stands at after the move.
    virtual void rowAboutToBeMoved(int /*from*/, int /*to*/) {}
    virtual void rowMoved(int /*from*/, int /*to*/) {}
    // A field written, or the written values of an edit thrown away.
    virtual void rowChanged(int /*row*/) {}
    // Any change at all: open, a field value, start of edit or insert, post, cancel,
    // delete (the window recolours its grid on it); a TableCursor tells its own observers of
    // its moves by this call too.
    virtual void dataChanged() {}
};

class TimeTable {
  public:
    explicit TimeTable(LocaleSettings locale = {});

    const LocaleSettings& locale() const { return locale_; }
    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);

    // Makes the empty table usable.
    void open();
    TableState state() const { return state_; }
    bool editingOrInserting() const;

    // Posted records, without a record being inserted.
    int recordCount() const;
    // The posted record at a place in STOP order, counted from 0 (a record being edited or
    // inserted as it was before).
    const TimeRecord& record(int index) const {
        return records_.at(static_cast<std::size_t>(index));
    }
    // Counts the changes to the posted records: a post, a delete, shifted times written. A
    // result worked out from the table holds while the count is what it was then.
    std::uint64_t revision() const { return revision_; }

    // Rows a grid shows, a record being inserted included.
    int rowCount() const;
    // The record shown at a row (the edit buffer for the row being edited or inserted).
    const TimeRecord& row(int row) const;
    // The row of the record being edited or inserted (meaningless while browsing).
    int editRow() const { return editRow_; }

    // Fails with "Cannot perform this operation on a closed dataset" while closed.
    void checkOpen() const;

    // Finishes a record being edited or inserted, then starts a new empty record shown at
    // `row` (at most rowCount()).
    void insert(int row);
    // Starts changing the record at `row`; on an empty table starts an insert at row 0
    // instead. Does nothing while editing or inserting.
    void edit(int row);
    // Stores the record being edited or inserted in its place in STOP order: a new record,
    // or an edited one whose STOP changed, goes before the first other record whose STOP
    // is equal or later (an empty STOP is the earliest). A new record is stored even when
    // nothing was written into it. Does nothing while browsing.
    void post();
    // Throws away the new record or the changes. Does nothing while browsing.
    void cancel();
    // Removes the record at `row`; while inserting, cancels; throws away an edit in progress
    // (of the record at `row`, which is then removed).
    void remove(int row);
    // Posts when a field was written, else cancels.
    void finishRecord();
    // The same, for a grid that leaves the record being edited or inserted for another row:
    // gives the row at which the record shown at `row` stands afterwards.
    int finishRecordKeeping(int row);
    bool modified() const { return modified_; }

    // Marks the record being edited or inserted as typed by hand; the mark goes with it
    // when it is posted and is thrown away with it when it is cancelled. An import writes
    // no marks, so it keeps the marks of the records typed before it.
    void markTyped();
    // True while a record, posted or being edited or inserted, carries the typed mark.
    bool hasTypedRecords() const;
    // Takes the typed marks off every record: the table was saved.
    void clearTypedMarks();

    // Writing needs editing or inserting ("Dataset not in edit or insert mode"). An empty
    // text empties a time field; other texts are read as times ("'<text>' is not a valid
    // time", the field keeping its value). PUNKT keeps its first kPunktSize bytes.
    void setText(Field field, std::string_view text);
    // Stores the time of day of a date-time value: to the millisecond, days and sign dropped.
    void setTime(Field field, double value);
    // Writes STOP2 = STOP + shift and GO2 = GO + shift (an empty time reads 00:00:00) into
    // every posted record, stored as setTime stores them. Finishes an open record first.
    void setShiftedTimes(double shift);

  private:
    void checkEditing() const;
    template <typename Call>
    void notify(Call call);
    void notifyDataChanged();
    // After a write into the record being edited or inserted.
    void fieldWritten();
    // Posts the record being edited or inserted; gives the row it lands at.
    int store();
    void startInsert(int row);
    // Takes away a row: the new record being inserted, or a posted record.
    void removeRow(int row);

    LocaleSettings locale_;
    std::vector<TableObserver*> observers_;
    StopOrderedRecords records_;  // the posted records
    TableState state_ = TableState::Closed;
    TimeRecord buffer_;  // the record being edited or inserted
    int editRow_ = -1;   // and the row it is shown at
    bool modified_ = false;
    std::uint64_t revision_ = 0;
};

}  // namespace marvolt
