#include "table_cursor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "failure_text.h"
#include "grid_table.h"

namespace marvolt {
namespace {

using testing::failureText;
using testing::GridTable;
using testing::Names;

TEST(TableCursor, InsertAtTheCurrentRowThenPostSorts) {
    GridTable g({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    g.cursor.moveTo(2);
    g.cursor.insert();
    EXPECT_EQ(g.cursor.currentRow(), 2);
    g.table.setText(Field::Punkt, "N");
    EXPECT_EQ(g.rows(), (Names{"A", "B", "N", "C"}));  // typed values shown at once
    EXPECT_EQ(g.table.recordCount(), 3);
    EXPECT_EQ(g.table.rowCount(), 4);
    g.table.setText(Field::Stop, "7:00:00");
    g.table.post();
    EXPECT_EQ(g.rows(), (Names{"N", "A", "B", "C"}));
    EXPECT_EQ(g.cursor.currentRow(), 2);  // the row number stays; it now shows B
    EXPECT_EQ(g.text(Field::Punkt), "B");
}

TEST(TableCursor, ClosedTableRefusesEveryMove) {
    TimeTable table{LocaleSettings{}};
    TableCursor cursor(table);
    const std::string closed = "Cannot perform this operation on a closed dataset";
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"first", [&] { cursor.first(); }},    {"last", [&] { cursor.last(); }},
        {"next", [&] { cursor.next(); }},      {"prior", [&] { cursor.prior(); }},
        {"moveTo", [&] { cursor.moveTo(0); }}, {"insert", [&] { cursor.insert(); }},
        {"append", [&] { cursor.append(); }},  {"edit", [&] { cursor.edit(); }},
        {"remove", [&] { cursor.remove(); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        EXPECT_EQ(failureText(operation), closed);
        EXPECT_EQ(table.state(), TableState::Closed);
        EXPECT_EQ(cursor.currentRow(), -1);
    }
}

TEST(TableCursor, DeleteKeepsTheRowNumber) {
    GridTable g({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    g.cursor.moveTo(1);
    g.cursor.remove();
    EXPECT_EQ(g.rows(), (Names{"A", "C"}));
    EXPECT_EQ(g.cursor.currentRow(), 1);
    EXPECT_EQ(g.text(Field::Punkt), "C");
    g.cursor.remove();  // the last row: the current row becomes the new last one
    EXPECT_EQ(g.cursor.currentRow(), 0);
    EXPECT_EQ(g.text(Field::Punkt), "A");
    g.cursor.remove();
    EXPECT_EQ(g.cursor.currentRow(), -1);
    EXPECT_EQ(g.table.recordCount(), 0);
    EXPECT_EQ(g.text(Field::Punkt), "");
}

// An insert started in the table itself (as the import does) puts the cursor on it.
TEST(TableCursor, FollowsAnInsertStartedInTheTable) {
    GridTable g({{"A", "8:00:00"}, {"B", "9:00:00"}});
    g.cursor.first();
    g.table.insert(2);
    EXPECT_EQ(g.cursor.currentRow(), 2);
    EXPECT_FALSE(g.cursor.bof());
    g.table.setText(Field::Punkt, "N");
    g.table.setText(Field::Stop, "7:00:00");
    g.table.post();
    EXPECT_EQ(g.cursor.currentRow(), 2);
    EXPECT_EQ(g.text(Field::Punkt), "B");
}

TEST(TableCursorLeaving, EveryMoveDropsAnUntouchedNewRecordAndPostsAWrittenOne) {
    const std::vector<std::pair<const char*, std::function<void(TableCursor&)>>> moves = {
        {"first", [](TableCursor& c) { c.first(); }},
        {"last", [](TableCursor& c) { c.last(); }},
        {"next", [](TableCursor& c) { c.next(); }},
        {"prior", [](TableCursor& c) { c.prior(); }},
        {"moveTo", [](TableCursor& c) { c.moveTo(0); }},
        {"insert", [](TableCursor& c) { c.insert(); }},
        {"append", [](TableCursor& c) { c.append(); }},
    };
    for (const auto& [name, move] : moves) {
        SCOPED_TRACE(name);
        const bool starts = name == std::string("insert") || name == std::string("append");
        GridTable untouched({{"A", "8:00:00"}, {"B", "9:00:00"}});
        untouched.cursor.moveTo(1);
        untouched.cursor.insert();
        move(untouched.cursor);
        EXPECT_EQ(untouched.table.state(), starts ? TableState::Inserting : TableState::Browsing);
        EXPECT_EQ(untouched.table.recordCount(), 2);
        untouched.table.cancel();  // throws away what insert and append started
        EXPECT_EQ(untouched.walk(), (Names{"A", "B"}));

        GridTable written({{"A", "8:00:00"}, {"B", "9:00:00"}});
        written.cursor.moveTo(1);
        written.cursor.insert();
        written.table.setText(Field::Punkt, "N");
        move(written.cursor);
        EXPECT_EQ(written.table.recordCount(), 3);
        written.table.cancel();
        EXPECT_EQ(written.walk(), (Names{"N", "A", "B"}));
    }
}

TEST(TableCursorLeaving, MoveToReachesTheRecordShownAtTheRow) {
    // Rows while inserting at row 1: A, new, B, C.
    GridTable posted({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    posted.cursor.moveTo(1);
    posted.cursor.insert();
    posted.table.setText(Field::Punkt, "N");
    posted.table.setText(Field::Stop, "11:00:00");
    posted.cursor.moveTo(2);  // B; the new record lands after C
    EXPECT_EQ(posted.rows(), (Names{"A", "B", "C", "N"}));
    EXPECT_EQ(posted.text(Field::Punkt), "B");

    GridTable dropped({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    dropped.cursor.moveTo(1);
    dropped.cursor.insert();
    dropped.cursor.moveTo(3);  // C; the untouched new record goes
    EXPECT_EQ(dropped.text(Field::Punkt), "C");

    GridTable untouched({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    untouched.cursor.moveTo(0);
    untouched.cursor.edit();
    untouched.cursor.moveTo(2);  // C; the edit with nothing written is cancelled, A stays
    EXPECT_EQ(untouched.table.state(), TableState::Browsing);
    EXPECT_EQ(untouched.text(Field::Punkt), "C");

    GridTable edited({{"A", "8:00:00"}, {"B", "9:00:00"}, {"C", "10:00:00"}});
    edited.cursor.moveTo(0);
    edited.cursor.edit();
    edited.table.setText(Field::Stop, "9:30:00");
    edited.cursor.moveTo(0);  // its own row: the edit stays open
    EXPECT_EQ(edited.table.state(), TableState::Editing);
    edited.cursor.moveTo(2);  // C; A lands between B and C
    EXPECT_EQ(edited.rows(), (Names{"B", "A", "C"}));
    EXPECT_EQ(edited.text(Field::Punkt), "C");
}

TEST(TableCursorMarks, BeginningAndEndMarks) {
    struct Step {
        const char* name;
        std::function<void(GridTable&)> action;
        bool bof, eof;
        int row;
    };
    const std::vector<Step> steps = {
        {"open", [](GridTable&) {}, true, true, -1},
        {"first on empty", [](GridTable& t) { t.cursor.first(); }, true, true, -1},
        {"next on empty", [](GridTable& t) { t.cursor.next(); }, true, true, -1},
        {"last on empty", [](GridTable& t) { t.cursor.last(); }, true, true, -1},
        {"append", [](GridTable& t) { t.cursor.append(); }, false, false, 0},
        {"post", [](GridTable& t) { t.table.post(); }, false, false, 0},
        {"first of one", [](GridTable& t) { t.cursor.first(); }, true, false, 0},
        {"last of one", [](GridTable& t) { t.cursor.last(); }, false, true, 0},
        {"append, post", [](GridTable& t) { t.addPoint("B", "9:00:00"); }, false, false, 1},
        {"append, post", [](GridTable& t) { t.addPoint("C", "10:00:00"); }, false, false, 2},
        {"first", [](GridTable& t) { t.cursor.first(); }, true, false, 0},
        {"prior at first", [](GridTable& t) { t.cursor.prior(); }, true, false, 0},
        {"next", [](GridTable& t) { t.cursor.next(); }, false, false, 1},
        {"last", [](GridTable& t) { t.cursor.last(); }, false, true, 2},
        {"next at last", [](GridTable& t) { t.cursor.next(); }, false, true, 2},
        {"prior", [](GridTable& t) { t.cursor.prior(); }, false, false, 1},
        {"first, moveTo", [](GridTable& t) { t.cursor.first(), t.cursor.moveTo(2); }, false, false,
         2},
        {"last, insert", [](GridTable& t) { t.cursor.last(), t.cursor.insert(); }, false, false, 2},
        {"cancel", [](GridTable& t) { t.table.cancel(); }, false, false, 2},
        {"delete", [](GridTable& t) { t.cursor.remove(); }, false, false, 1},
        {"delete", [](GridTable& t) { t.cursor.remove(); }, false, false, 0},
        {"delete the last one", [](GridTable& t) { t.cursor.remove(); }, true, true, -1},
        {"insert, cancel", [](GridTable& t) { t.cursor.insert(), t.table.cancel(); }, true, true,
         -1},
    };
    GridTable g;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.action(g);
        EXPECT_EQ(g.cursor.bof(), step.bof);
        EXPECT_EQ(g.cursor.eof(), step.eof);
        EXPECT_EQ(g.cursor.currentRow(), step.row);
    }
}

}  // namespace
}  // namespace marvolt
