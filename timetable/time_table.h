#pragma once
// The time table: the in-memory record set of surveyed points, kept in STOP order,
// with the states and moves of a data set that a grid edits.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "locale_settings.h"

namespace marvolt {

enum class TableState { Closed, Browsing, Editing, Inserting };

// The fields in their column order.
enum class Field { Punkt = 0, Stop, Go, Stop2, Go2 };
constexpr int kFieldCount = 5;
constexpr std::size_t kPunktSize = 10;  // bytes of a point name

struct TimeRecord {
    std::string punkt;  // Windows-1250 bytes, at most kPunktSize
    // STOP, GO, STOP2, GO2 as milliseconds since midnight; empty when null.
    std::array<std::optional<std::int32_t>, 4> times;

    const std::optional<std::int32_t>& time(Field field) const;
    std::optional<std::int32_t>& time(Field field);
};

// Told of every change, so that a view can follow. Rows are the rows a grid shows: the
// posted records in STOP order plus, while inserting, the new record at its row.
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
    virtual void rowChanged(int /*row*/) {}
    // Any change at all: open, a move, a field value, start of edit or insert, post,
    // cancel, delete (the window recolours its grid on it).
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
    // Rows a grid shows, a record being inserted included.
    int rowCount() const;
    // The record shown at a row (the edit buffer for the row being edited or inserted).
    const TimeRecord& row(int row) const;
    // A field as a grid shows it: the name decoded from Windows-1250 is not done here, the
    // bytes are; times in the locale's long time format, an empty field as "".
    std::string cellText(int row, Field field) const;

    int currentRow() const { return current_; }  // -1 when there is no row
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }

    // Moves. Each first finishes a record being edited or inserted (posted if any field
    // was written, else dropped).
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);

    // Starts a new empty record at the current row (Insert) or after the last row (Append).
    void insert();
    void append();
    // Starts changing the current record; on an empty table starts an insert instead.
    void edit();
    // Stores the record being edited or inserted in its place in STOP order.
    void post();
    // Throws away the new record or the changes.
    void cancel();
    // Removes the current record; while inserting, cancels.
    void remove();
    // Posts when a field was written, else cancels.
    void finishRecord();
    bool modified() const { return modified_; }

    // Fields of the current record.
    std::string text(Field field) const;
    double time(Field field) const;  // an empty field reads 0.0
    // Writing needs editing or inserting. An empty text empties a time field; other texts
    // are read as times ("'<text>' is not a valid time"). PUNKT keeps its first 10 bytes.
    void setText(Field field, std::string_view text);
    void setTime(Field field, double value);

private:
    void checkOpen() const;
    void checkEditing() const;
    void notifyDataChanged();
    int sortedPosition(const std::optional<std::int32_t>& stop, int skipRow) const;

    LocaleSettings locale_;
    std::vector<TableObserver*> observers_;
    std::vector<TimeRecord> records_;  // posted records in STOP order
    TableState state_ = TableState::Closed;
    TimeRecord buffer_;                // the record being edited or inserted
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
};

}  // namespace marvolt
