#include "time_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "failure.h"
#include "failure_text.h"
#include "grid_table.h"

namespace marvolt {
namespace {

using testing::failureText;
using testing::GridTable;
using testing::Names;

// Writes every observer call with the point name shown at its row where the row exists.
class RecordingObserver : public TableObserver {
  public:
    explicit RecordingObserver(const TimeTable& table) : table_(table) {}
    std::vector<std::string> calls;

    void rowAboutToBeInserted(int row) override { add("insert? " + std::to_string(row)); }
    void rowInserted(int row) override { add("inserted " + shown(row)); }
    void rowAboutToBeRemoved(int row) override { add("remove? " + shown(row)); }
    void rowRemoved(int row) override { add("removed " + std::to_string(row)); }
    void rowAboutToBeMoved(int from, int to) override {
        add("move? " + shown(from) + " to " + std::to_string(to));
    }
    void rowMoved(int from, int to) override {
        add("moved " + std::to_string(from) + " to " + shown(to));
    }
    void rowChanged(int row) override { add("changed " + shown(row)); }
    void dataChanged() override { add("data"); }

    std::vector<std::string> take() { return std::exchange(calls, {}); }

  private:
    void add(std::string call) { calls.push_back(std::move(call)); }
    std::string shown(int row) const {
        return std::to_string(row) + " [" + cellText(table_, row, Field::Punkt) + "]";
    }
    const TimeTable& table_;
};

TEST(TimeTableOrder, WalksInStopOrderEqualStopsNewestFirstEmptyStopFirst) {
    // "9:00:00" sorts before "10:00:00" as a time although not as a text; ".5" is 5 ms.
    GridTable g({{"P1", "10:00:00"},
                 {"P2", "9:00:00"},
                 {"P3", "10:00:00"},
                 {"P4", ""},
                 {"P5", "10:00:00.5"},
                 {"P6", ""},
                 {"P7", "9:59:59.999"}});
    EXPECT_EQ(g.walk(), (Names{"P6", "P4", "P2", "P7", "P3", "P1", "P5"}));
    EXPECT_EQ(g.rows(), (Names{"P6", "P4", "P2", "P7", "P3", "P1", "P5"}));
    for (int i = 0; i < g.table.recordCount(); ++i)
        EXPECT_EQ(g.table.record(i).punkt, g.rows()[static_cast<std::size_t>(i)]);

    GridTable abc({{"A", "12:00:00"}, {"B", "12:00:00"}, {"C", "12:00:00"}});
    EXPECT_EQ(abc.walk(), (Names{"C", "B", "A"}));
}

TEST(TimeTableOrder, EmptyRecordsAndNamesAsStored) {
    GridTable g({{"P1", "10:00:00"}, {"P2", "11:00:00"}});
    g.table.insert(1);
    g.table.post();  // nothing written: an empty record, which sorts first
    EXPECT_EQ(g.table.recordCount(), 3);
    EXPECT_EQ(g.rows(), (Names{"", "P1", "P2"}));
    g.cursor.first();
    for (Field field : {Field::Punkt, Field::Stop, Field::Go, Field::Stop2, Field::Go2})
        EXPECT_EQ(g.text(field), "");
    EXPECT_EQ(g.time(Field::Stop), 0.0);

    g.table.edit(0);
    g.table.setText(Field::Punkt, "ABCDEFGHIJKL");  // 12 bytes
    g.table.post();
    EXPECT_EQ(g.text(Field::Punkt), "ABCDEFGHIJ");
    EXPECT_EQ(cellText(g.table, 1, Field::Stop), "10:00:00");
}

TEST(TimeTableOrder, EditPostMovesOnlyWhenStopChanged) {
    GridTable g({{"A", "12:00:00"}, {"B", "12:00:00"}, {"C", "12:00:00"}});
    ASSERT_EQ(g.rows(), (Names{"C", "B", "A"}));
    // Same STOP: a re-placement would put A before C; it stays where it is.
    g.cursor.moveTo(2);
    g.cursor.edit();
    g.table.setText(Field::Punkt, "A2");
    g.table.setText(Field::Stop, "12:00:00");
    g.table.post();
    EXPECT_EQ(g.rows(), (Names{"C", "B", "A2"}));

    // STOP changed: the record moves, the current row keeps its number and shows another.
    g.cursor.moveTo(0);
    g.cursor.edit();
    g.table.setText(Field::Stop, "13:00:00");
    g.table.post();
    EXPECT_EQ(g.rows(), (Names{"B", "A2", "C"}));
    EXPECT_EQ(g.cursor.currentRow(), 0);
    EXPECT_EQ(g.text(Field::Punkt), "B");

    // Moved onto an equal STOP: before the records with that STOP.
    g.cursor.moveTo(2);
    g.cursor.edit();
    g.table.setText(Field::Stop, "12:00:00");
    g.table.post();
    EXPECT_EQ(g.rows(), (Names{"C", "B", "A2"}));
    EXPECT_EQ(g.cursor.currentRow(), 2);
    EXPECT_EQ(g.text(Field::Punkt), "A2");
}

TEST(TimeTableStates, ClosedTableRefusesEverything) {
    TimeTable table{LocaleSettings{}};
    const std::string closed = "Cannot perform this operation on a closed dataset";
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"recordCount", [&] { table.recordCount(); }},
        {"insert", [&] { table.insert(0); }},
        {"edit", [&] { table.edit(0); }},
        {"remove", [&] { table.remove(0); }},
        {"setShiftedTimes", [&] { table.setShiftedTimes(0.0); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        EXPECT_EQ(failureText(operation), closed);
        EXPECT_EQ(table.state(), TableState::Closed);
    }
    EXPECT_EQ(failureText([&] { table.setText(Field::Punkt, "A"); }),
              "Dataset not in edit or insert mode");
    table.post();
    table.cancel();
    EXPECT_EQ(table.state(), TableState::Closed);
    EXPECT_EQ(table.rowCount(), 0);

    table.open();
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.recordCount(), 0);
}

TEST(TimeTableStates, TransitionsAndTheirErrors) {
    GridTable g;
    TimeTable& table = g.table;
    const std::string notEditing = "Dataset not in edit or insert mode";
    EXPECT_EQ(failureText([&] { table.setText(Field::Stop, "10:00:00"); }), notEditing);
    EXPECT_EQ(failureText([&] { table.setTime(Field::Stop2, 0.5); }), notEditing);
    EXPECT_EQ(failureText([&] { table.remove(0); }),
              "Cannot perform this operation on an empty dataset");

    table.edit(0);  // on an empty table: an insert
    EXPECT_EQ(table.state(), TableState::Inserting);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.recordCount(), 0);
    table.setText(Field::Punkt, "A");
    table.remove(0);  // while inserting: a cancel
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.rowCount(), 0);

    g.addPoint("A", "10:00:00");
    g.cursor.first();
    table.edit(0);
    table.setText(Field::Stop, "11:00:00");
    table.edit(0);  // already editing: nothing happens, the written value stays
    EXPECT_TRUE(table.modified());
    EXPECT_EQ(g.text(Field::Stop), "11:00:00");
    EXPECT_EQ(failureText([&] { table.setText(Field::Stop, "25:00:00"); }),
              "'25:00:00' is not a valid time");
    EXPECT_EQ(g.text(Field::Stop), "11:00:00");  // kept
    table.cancel();
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(g.text(Field::Stop), "10:00:00");  // the change thrown away

    table.edit(0);
    table.setText(Field::Go, "10:30:00");
    table.remove(0);  // while editing: the record goes, the change with it
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.recordCount(), 0);
}

// What a grid's model is told, from the table and from its cursor, in order.
TEST(TimeTableObserver, CallsInOrderWithTheirRows) {
    TimeTable table{LocaleSettings{}};
    TableCursor cursor(table);
    RecordingObserver observer(table);
    table.addObserver(&observer);
    cursor.addObserver(&observer);
    table.open();
    EXPECT_EQ(observer.take(), (Names{"data"}));

    cursor.insert();
    table.setText(Field::Punkt, "A");
    table.setText(Field::Stop, "10:00:00");
    table.post();
    EXPECT_EQ(observer.take(), (Names{"insert? 0", "inserted 0 []", "data", "changed 0 [A]", "data",
                                      "changed 0 [A]", "data", "data"}));

    // A new record inserted above A and posted after it: a move from row 0 to row 1.
    cursor.insert();
    table.setText(Field::Punkt, "B");
    table.setText(Field::Stop, "11:00:00");
    observer.take();
    table.post();
    EXPECT_EQ(observer.take(), (Names{"move? 0 [B] to 1", "moved 0 to 1 [B]", "data"}));

    cursor.append();
    table.cancel();
    EXPECT_EQ(observer.take(),
              (Names{"insert? 2", "inserted 2 []", "data", "remove? 2 []", "removed 2", "data"}));

    cursor.moveTo(1);
    cursor.edit();
    table.setText(Field::Stop, "9:00:00");
    table.cancel();
    EXPECT_EQ(observer.take(),
              (Names{"data", "data", "changed 1 [B]", "data", "changed 1 [B]", "data"}));

    cursor.edit();
    table.setText(Field::Stop, "9:00:00");
    observer.take();
    table.post();
    EXPECT_EQ(observer.take(), (Names{"move? 1 [B] to 0", "moved 1 to 0 [B]", "data"}));

    cursor.remove();  // the current row 1 shows A
    EXPECT_EQ(observer.take(), (Names{"remove? 1 [A]", "removed 1", "data"}));

    // A move that drops an untouched new record: the removal, then the move's own call.
    cursor.insert();
    observer.take();
    cursor.first();
    EXPECT_EQ(observer.take(), (Names{"remove? 0 []", "removed 0", "data", "data"}));

    table.post();
    table.cancel();
    EXPECT_TRUE(observer.take().empty());  // browsing: nothing happens

    table.removeObserver(&observer);
    cursor.removeObserver(&observer);
    cursor.next();
    table.insert(0);
    EXPECT_TRUE(observer.take().empty());
}

TEST(TimeTableFields, TimeWritesAndReads) {
    struct Row {
        double written;
        const char* shown;
        double read;
    };
    const std::vector<Row> cases = {
        {-0.0625, "01:30:00", 0.0625},  // minus 1 h 30 min: the absolute value
        {1.25, "06:00:00", 0.25},       // a day and six hours: the day dropped
        {-0.25, "06:00:00", 0.25},
        {0.5 + 0.4 / 86'400'000, "12:00:00", 0.5},  // below half a millisecond
    };
    GridTable g;
    g.cursor.insert();
    for (const Row& row : cases) {
        SCOPED_TRACE(row.written);
        g.table.setTime(Field::Stop2, row.written);
        EXPECT_EQ(g.text(Field::Stop2), row.shown);
        EXPECT_DOUBLE_EQ(g.time(Field::Stop2), row.read);
    }
    g.table.setText(Field::Stop2, "");
    EXPECT_EQ(g.text(Field::Stop2), "");
    EXPECT_EQ(g.time(Field::Stop2), 0.0);
    g.table.setText(Field::Go, "7:05:09");
    g.table.post();
    EXPECT_EQ(g.text(Field::Go), "07:05:09");
    EXPECT_EQ(g.table.row(0).time(Field::Go), 7 * 3'600'000 + 5 * 60'000 + 9'000);
}

// The typed marks: they go with a posted record, vanish with a cancelled one and are
// cleared all at once; a write without a mark leaves a record unmarked.
TEST(TimeTableTypedMarks, FollowTheRecordsUntilCleared) {
    GridTable g({{"A", "9:00:00"}});
    TimeTable& table = g.table;
    EXPECT_FALSE(table.hasTypedRecords());
    EXPECT_EQ(failureText([&] { table.markTyped(); }), "Dataset not in edit or insert mode");

    table.insert(0);
    table.markTyped();
    EXPECT_TRUE(table.hasTypedRecords());
    table.cancel();
    EXPECT_FALSE(table.hasTypedRecords());

    table.insert(1);
    table.setText(Field::Punkt, "B");
    table.markTyped();
    table.post();
    EXPECT_TRUE(table.hasTypedRecords());
    table.clearTypedMarks();
    EXPECT_FALSE(table.hasTypedRecords());
    table.edit(1);
    table.setText(Field::Stop, "8:00:00");  // written as an import writes: no mark
    table.post();
    EXPECT_FALSE(table.hasTypedRecords());
}

}  // namespace
}  // namespace marvolt
