#pragma once
// Where a grid stands in the time table: the current row, the beginning and end marks of its
// navigator, and the moves and record actions of a grid, which finish the record being
// edited or inserted as a grid expects. It follows the table's changes (a new record being
// inserted is where it stands; a removed row leaves it at the same number).

#include <vector>

#include "time_table.h"

namespace marvolt {

class TableCursor : private TableObserver {
  public:
    explicit TableCursor(TimeTable& table);
    ~TableCursor() override;
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    TimeTable& table() const { return table_; }
    // Told by dataChanged() after every move, as the table tells of its own changes.
    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);

    int currentRow() const { return current_; }  // -1 when there is no row
    // The navigator's beginning and end marks; both are set while the table is empty.
    // first() sets bof, last() sets eof; next() on the last row sets eof and prior() on the
    // first row sets bof, without moving; any other move to a row clears both, as do
    // insert() and append() (and any insert started in the table); a delete or a dropped
    // new record clears both unless it leaves the table empty; a post or an edit keeps them.
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    // Moves. Each first finishes a record being edited or inserted (posted if any field
    // was written, else dropped); next() and prior() then step from the current row. The
    // current row keeps its number when a posted record moves to its place in STOP order,
    // so it may then show another record.
    void first();
    void last();
    void next();
    void prior();
    // Moves to the record shown at `row` when called (kept track of while the record left
    // is finished); the row being edited stays open when it is the one asked for.
    void moveTo(int row);

    // Finishes a record being edited or inserted, then starts a new empty record at the
    // current row (Insert; row 0 on an empty table) or after the last row (Append).
    void insert();
    void append();
    // Starts changing the current record; on an empty table starts an insert instead.
    // Does nothing while editing or inserting.
    void edit();
    // Removes the current record and keeps the current row number (the last row when it
    // was the last one); while inserting, cancels; throws away an edit in progress.
    void remove();

  private:
    void rowInserted(int row) override;
    void rowRemoved(int row) override;
    void dataChanged() override;
    // A move's end: the current row, its marks and the notification.
    void moved(int row, bool bof, bool eof);

    TimeTable& table_;
    std::vector<TableObserver*> observers_;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
};

}  // namespace marvolt
