#include "time_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "failure.h"
#include "failure_text.h"

namespace marvolt {
namespace {

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
        return std::to_string(row) + " [" + table_.cellText(row, Field::Punkt) + "]";
    }
    const TimeTable& table_;
};

using Names = std::vector<std::string>;

void addPoint(TimeTable& table, const std::string& name, const std::string& stop) {
    table.append();
    table.setText(Field::Punkt, name);
    table.setText(Field::Stop, stop);
    table.post();
}

TimeTable tableWith(const std::vector<std::pair<std::string, std::string>>& points) {
    TimeTable table{LocaleSettings{}};
    table.open();
    for (const auto& [name, stop] : points) addPoint(table, name, stop);
    return table;
}

// The rows as a grid shows them.
Names rows(const TimeTable& table) {
    Names names;
    for (int row = 0; row < table.rowCount(); ++row)
        names.push_back(table.cellText(row, Field::Punkt));
    return names;
}

// The records as an analysis walks them: first, then next until the end mark.
Names walk(TimeTable& table) {
    Names names;
    // Bounded, so that a missing end mark fails instead of looping.
    const auto bound = static_cast<std::size_t>(table.rowCount());
    for (table.first(); !table.eof() && names.size() <= bound; table.next())
        names.push_back(table.text(Field::Punkt));
    return names;
}

using testing::failureText;

TEST(TimeTableOrder, WalksInStopOrderEqualStopsNewestFirstEmptyStopFirst) {
    // "9:00:00" sorts before "10:00:00" as a time although not as a text; ".5" is 5 ms.
    TimeTable table = tableWith({{"P1", "10:00:00"},
                                 {"P2", "9:00:00"},
                                 {"P3", "10:00:00"},
                                 {"P4", ""},
                                 {"P5", "10:00:00.5"},
                                 {"P6", ""},
                                 {"P7", "9:59:59.999"}});
    EXPECT_EQ(walk(table), (Names{"P6", "P4", "P2", "P7", "P3", "P1", "P5"}));
    EXPECT_EQ(rows(table), (Names{"P6", "P4", "P2", "P7", "P3", "P1", "P5"}));

    TimeTable abc = tableWith({{"A", "12:00:00"}, {"B", "12:00:00"}, {"C", "12:00:00"}});
    EXPECT_EQ(walk(abc), (Names{"C", "B", "A"}));
}

TEST(TimeTableOrder, EmptyRecordsAndNamesAsStored) {
    TimeTable table = tableWith({{"P1", "10:00:00"}, {"P2", "11:00:00"}});
    table.moveTo(1);
    table.insert();
    table.post();  // nothing written: an empty record, which sorts first
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(rows(table), (Names{"", "P1", "P2"}));
    table.first();
    for (Field field : {Field::Punkt, Field::Stop, Field::Go, Field::Stop2, Field::Go2})
        EXPECT_EQ(table.text(field), "");
    EXPECT_EQ(table.time(Field::Stop), 0.0);

    table.edit();
    table.setText(Field::Punkt, "ABCDEFGHIJKL");  // 12 bytes
    table.post();
    EXPECT_EQ(table.text(Field::Punkt), "ABCDEFGHIJ");
    EXPECT_EQ(table.cellText(1, Field::Stop), "10:00:00");
}

TEST(TimeTableOrder, InsertAtTheCurrentRowThenPostSorts) {
    TimeTable table = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    table.moveTo(2);
    table.insert();
    EXPECT_EQ(table.currentRow(), 2);
    table.setText(Field::Punkt, "N");
    EXPECT_EQ(rows(table), (Names{"A", "B", "N", "C"}));  // typed values shown at once
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.rowCount(), 4);
    table.setText(Field::Stop, "7:00:00");
    table.post();
    EXPECT_EQ(rows(table), (Names{"N", "A", "B", "C"}));
    EXPECT_EQ(table.currentRow(), 2);  // the row number stays; it now shows B
    EXPECT_EQ(table.text(Field::Punkt), "B");
}

TEST(TimeTableOrder, EditPostMovesOnlyWhenStopChanged) {
    TimeTable table = tableWith({{"A", "12:00:00"}, {"B", "12:00:00"}, {"C", "12:00:00"}});
    ASSERT_EQ(rows(table), (Names{"C", "B", "A"}));
    // Same STOP: a re-placement would put A before C; it stays where it is.
    table.moveTo(2);
    table.edit();
    table.setText(Field::Punkt, "A2");
    table.setText(Field::Stop, "12:00:00");
    table.post();
    EXPECT_EQ(rows(table), (Names{"C", "B", "A2"}));

    // STOP changed: the record moves, the current row keeps its number and shows another.
    table.moveTo(0);
    table.edit();
    table.setText(Field::Stop, "13:00:00");
    table.post();
    EXPECT_EQ(rows(table), (Names{"B", "A2", "C"}));
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.text(Field::Punkt), "B");

    // Moved onto an equal STOP: before the records with that STOP.
    table.moveTo(2);
    table.edit();
    table.setText(Field::Stop, "12:00:00");
    table.post();
    EXPECT_EQ(rows(table), (Names{"C", "B", "A2"}));
    EXPECT_EQ(table.currentRow(), 2);
    EXPECT_EQ(table.text(Field::Punkt), "A2");
}

TEST(TimeTableStates, ClosedTableRefusesEverything) {
    TimeTable table{LocaleSettings{}};
    const std::string closed = "Cannot perform this operation on a closed dataset";
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"recordCount", [&] { table.recordCount(); }},
        {"first", [&] { table.first(); }},
        {"last", [&] { table.last(); }},
        {"next", [&] { table.next(); }},
        {"prior", [&] { table.prior(); }},
        {"moveTo", [&] { table.moveTo(0); }},
        {"insert", [&] { table.insert(); }},
        {"append", [&] { table.append(); }},
        {"edit", [&] { table.edit(); }},
        {"remove", [&] { table.remove(); }},
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
    TimeTable table = tableWith({});
    const std::string notEditing = "Dataset not in edit or insert mode";
    EXPECT_EQ(failureText([&] { table.setText(Field::Stop, "10:00:00"); }), notEditing);
    EXPECT_EQ(failureText([&] { table.setTime(Field::Stop2, 0.5); }), notEditing);
    EXPECT_EQ(failureText([&] { table.remove(); }),
              "Cannot perform this operation on an empty dataset");

    table.edit();  // on an empty table: an insert
    EXPECT_EQ(table.state(), TableState::Inserting);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.recordCount(), 0);
    table.setText(Field::Punkt, "A");
    table.remove();  // while inserting: a cancel
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.rowCount(), 0);

    addPoint(table, "A", "10:00:00");
    table.first();
    table.edit();
    table.setText(Field::Stop, "11:00:00");
    table.edit();  // already editing: nothing happens, the written value stays
    EXPECT_TRUE(table.modified());
    EXPECT_EQ(table.text(Field::Stop), "11:00:00");
    EXPECT_EQ(failureText([&] { table.setText(Field::Stop, "25:00:00"); }),
              "'25:00:00' is not a valid time");
    EXPECT_EQ(table.text(Field::Stop), "11:00:00");  // kept
    table.cancel();
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.text(Field::Stop), "10:00:00");  // the change thrown away

    table.edit();
    table.setText(Field::Go, "10:30:00");
    table.remove();  // while editing: the record goes, the change with it
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.recordCount(), 0);
}

TEST(TimeTableStates, DeleteKeepsTheRowNumber) {
    TimeTable table = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    table.moveTo(1);
    table.remove();
    EXPECT_EQ(rows(table), (Names{"A", "C"}));
    EXPECT_EQ(table.currentRow(), 1);
    EXPECT_EQ(table.text(Field::Punkt), "C");
    table.remove();  // the last row: the current row becomes the new last one
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.text(Field::Punkt), "A");
    table.remove();
    EXPECT_EQ(table.currentRow(), -1);
    EXPECT_EQ(table.recordCount(), 0);
    EXPECT_EQ(table.text(Field::Punkt), "");
}

TEST(TimeTableLeaving, EveryMoveDropsAnUntouchedNewRecordAndPostsAWrittenOne) {
    const std::vector<std::pair<const char*, std::function<void(TimeTable&)>>> moves = {
        {"first", [](TimeTable& t) { t.first(); }},    {"last", [](TimeTable& t) { t.last(); }},
        {"next", [](TimeTable& t) { t.next(); }},      {"prior", [](TimeTable& t) { t.prior(); }},
        {"moveTo", [](TimeTable& t) { t.moveTo(0); }}, {"insert", [](TimeTable& t) { t.insert(); }},
        {"append", [](TimeTable& t) { t.append(); }},
    };
    for (const auto& [name, move] : moves) {
        SCOPED_TRACE(name);
        const bool starts = name == std::string("insert") || name == std::string("append");
        TimeTable untouched = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}});
        untouched.moveTo(1);
        untouched.insert();
        move(untouched);
        EXPECT_EQ(untouched.state(), starts ? TableState::Inserting : TableState::Browsing);
        EXPECT_EQ(untouched.recordCount(), 2);
        untouched.cancel();  // throws away what insert and append started
        EXPECT_EQ(walk(untouched), (Names{"A", "B"}));

        TimeTable written = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}});
        written.moveTo(1);
        written.insert();
        written.setText(Field::Punkt, "N");
        move(written);
        EXPECT_EQ(written.recordCount(), 3);
        written.cancel();
        EXPECT_EQ(walk(written), (Names{"N", "A", "B"}));
    }
}

TEST(TimeTableLeaving, MoveToReachesTheRecordShownAtTheRow) {
    // Rows while inserting at row 1: A, new, B, C.
    TimeTable posted = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    posted.moveTo(1);
    posted.insert();
    posted.setText(Field::Punkt, "N");
    posted.setText(Field::Stop, "11:00:00");
    posted.moveTo(2);  // B; the new record lands after C
    EXPECT_EQ(rows(posted), (Names{"A", "B", "C", "N"}));
    EXPECT_EQ(posted.text(Field::Punkt), "B");

    TimeTable dropped = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    dropped.moveTo(1);
    dropped.insert();
    dropped.moveTo(3);  // C; the untouched new record goes
    EXPECT_EQ(dropped.text(Field::Punkt), "C");

    TimeTable untouched = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    untouched.moveTo(0);
    untouched.edit();
    untouched.moveTo(2);  // C; the edit with nothing written is cancelled, A stays
    EXPECT_EQ(untouched.state(), TableState::Browsing);
    EXPECT_EQ(untouched.text(Field::Punkt), "C");

    TimeTable edited = tableWith({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    edited.moveTo(0);
    edited.edit();
    edited.setText(Field::Stop, "9:30:00");
    edited.moveTo(0);  // its own row: the edit stays open
    EXPECT_EQ(edited.state(), TableState::Editing);
    edited.moveTo(2);  // C; A lands between B and C
    EXPECT_EQ(rows(edited), (Names{"B", "A", "C"}));
    EXPECT_EQ(edited.text(Field::Punkt), "C");
}

TEST(TimeTableObserver, CallsInOrderWithTheirRows) {
    TimeTable table{LocaleSettings{}};
    RecordingObserver observer(table);
    table.addObserver(&observer);
    table.open();
    EXPECT_EQ(observer.take(), (Names{"data"}));

    table.insert();
    table.setText(Field::Punkt, "A");
    table.setText(Field::Stop, "10:00:00");
    table.post();
    EXPECT_EQ(observer.take(), (Names{"insert? 0", "inserted 0 []", "data", "changed 0 [A]", "data",
                                      "changed 0 [A]", "data", "data"}));

    // A new record inserted above A and posted after it: a move from row 0 to row 1.
    table.insert();
    table.setText(Field::Punkt, "B");
    table.setText(Field::Stop, "11:00:00");
    observer.take();
    table.post();
    EXPECT_EQ(observer.take(), (Names{"move? 0 [B] to 1", "moved 0 to 1 [B]", "data"}));

    table.append();
    table.cancel();
    EXPECT_EQ(observer.take(),
              (Names{"insert? 2", "inserted 2 []", "data", "remove? 2 []", "removed 2", "data"}));

    table.moveTo(1);
    table.edit();
    table.setText(Field::Stop, "9:00:00");
    table.cancel();
    EXPECT_EQ(observer.take(),
              (Names{"data", "data", "changed 1 [B]", "data", "changed 1 [B]", "data"}));

    table.edit();
    table.setText(Field::Stop, "9:00:00");
    observer.take();
    table.post();
    EXPECT_EQ(observer.take(), (Names{"move? 1 [B] to 0", "moved 1 to 0 [B]", "data"}));

    table.remove();  // the current row 1 shows A
    EXPECT_EQ(observer.take(), (Names{"remove? 1 [A]", "removed 1", "data"}));

    // A move that drops an untouched new record: the removal, then the move's own call.
    table.insert();
    observer.take();
    table.first();
    EXPECT_EQ(observer.take(), (Names{"remove? 0 []", "removed 0", "data", "data"}));

    table.post();
    table.cancel();
    EXPECT_TRUE(observer.take().empty());  // browsing: nothing happens

    table.removeObserver(&observer);
    table.next();
    EXPECT_TRUE(observer.take().empty());
}

TEST(TimeTableMarks, BeginningAndEndMarks) {
    struct Step {
        const char* name;
        std::function<void(TimeTable&)> action;
        bool bof, eof;
        int row;
    };
    const std::vector<Step> steps = {
        {"open", [](TimeTable&) {}, true, true, -1},
        {"first on empty", [](TimeTable& t) { t.first(); }, true, true, -1},
        {"next on empty", [](TimeTable& t) { t.next(); }, true, true, -1},
        {"last on empty", [](TimeTable& t) { t.last(); }, true, true, -1},
        {"append", [](TimeTable& t) { t.append(); }, false, false, 0},
        {"post", [](TimeTable& t) { t.post(); }, false, false, 0},
        {"first of one", [](TimeTable& t) { t.first(); }, true, false, 0},
        {"last of one", [](TimeTable& t) { t.last(); }, false, true, 0},
        {"append, post", [](TimeTable& t) { addPoint(t, "B", "9:00:00"); }, false, false, 1},
        {"append, post", [](TimeTable& t) { addPoint(t, "C", "10:00:00"); }, false, false, 2},
        {"first", [](TimeTable& t) { t.first(); }, true, false, 0},
        {"prior at first", [](TimeTable& t) { t.prior(); }, true, false, 0},
        {"next", [](TimeTable& t) { t.next(); }, false, false, 1},
        {"last", [](TimeTable& t) { t.last(); }, false, true, 2},
        {"next at last", [](TimeTable& t) { t.next(); }, false, true, 2},
        {"prior", [](TimeTable& t) { t.prior(); }, false, false, 1},
        {"first, moveTo", [](TimeTable& t) { t.first(), t.moveTo(2); }, false, false, 2},
        {"last, insert", [](TimeTable& t) { t.last(), t.insert(); }, false, false, 2},
        {"cancel", [](TimeTable& t) { t.cancel(); }, false, false, 2},
        {"delete", [](TimeTable& t) { t.remove(); }, false, false, 1},
        {"delete", [](TimeTable& t) { t.remove(); }, false, false, 0},
        {"delete the last one", [](TimeTable& t) { t.remove(); }, true, true, -1},
        {"insert, cancel", [](TimeTable& t) { t.insert(), t.cancel(); }, true, true, -1},
    };
    TimeTable table = tableWith({});
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.action(table);
        EXPECT_EQ(table.bof(), step.bof);
        EXPECT_EQ(table.eof(), step.eof);
        EXPECT_EQ(table.currentRow(), step.row);
    }
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
    TimeTable table = tableWith({});
    table.insert();
    for (const Row& row : cases) {
        SCOPED_TRACE(row.written);
        table.setTime(Field::Stop2, row.written);
        EXPECT_EQ(table.text(Field::Stop2), row.shown);
        EXPECT_DOUBLE_EQ(table.time(Field::Stop2), row.read);
    }
    table.setText(Field::Stop2, "");
    EXPECT_EQ(table.text(Field::Stop2), "");
    EXPECT_EQ(table.time(Field::Stop2), 0.0);
    table.setText(Field::Go, "7:05:09");
    table.post();
    EXPECT_EQ(table.text(Field::Go), "07:05:09");
    EXPECT_EQ(table.row(0).time(Field::Go), 7 * 3'600'000 + 5 * 60'000 + 9'000);
}

// The typed marks: they go with a posted record, vanish with a cancelled one and are
// cleared all at once; a write without a mark leaves a record unmarked.
TEST(TimeTableTypedMarks, FollowTheRecordsUntilCleared) {
    TimeTable table = tableWith({{"A", "9:00:00"}});
    EXPECT_FALSE(table.hasTypedRecords());
    EXPECT_EQ(failureText([&] { table.markTyped(); }), "Dataset not in edit or insert mode");

    table.insert();
    table.markTyped();
    EXPECT_TRUE(table.hasTypedRecords());
    table.cancel();
    EXPECT_FALSE(table.hasTypedRecords());

    table.append();
    table.setText(Field::Punkt, "B");
    table.markTyped();
    table.post();
    EXPECT_TRUE(table.hasTypedRecords());
    table.clearTypedMarks();
    EXPECT_FALSE(table.hasTypedRecords());
    table.edit();
    table.setText(Field::Stop, "8:00:00");  // written as an import writes: no mark
    table.post();
    EXPECT_FALSE(table.hasTypedRecords());
}

}  // namespace
}  // namespace marvolt
