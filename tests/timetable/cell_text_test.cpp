#include "cell_text.h"

#include <gtest/gtest.h>

#include "grid_table.h"

namespace marvolt {
namespace {

// A name as its stored Windows-1250 bytes, times in the table locale's long time format
// (here a 12-hour clock without a leading zero, "." between the parts), empty fields as "";
// the row being edited shows what was written into it.
TEST(CellText, NamesAsStoredTimesInTheLongTimeFormat) {
    LocaleSettings locale;
    locale.timeSeparator = ".";
    locale.longTimeLeadingZero = false;
    locale.longTimeTwelveHour = true;
    locale.pmString = "PM";
    TimeTable table(locale);
    TableCursor cursor(table);
    table.open();
    cursor.insert();
    table.setText(Field::Punkt, "\xA3\xF3\x64\x9F");  // "Łódź"
    table.setText(Field::Stop, "13.05.09");
    EXPECT_EQ(cellText(table, 0, Field::Punkt), "\xA3\xF3\x64\x9F");
    EXPECT_EQ(cellText(table, 0, Field::Stop), "1.05.09 PM");
    table.post();
    EXPECT_EQ(cellText(table, 0, Field::Stop), "1.05.09 PM");
    for (const Field field : {Field::Go, Field::Stop2, Field::Go2})
        EXPECT_EQ(cellText(table, 0, field), "");
}

}  // namespace
}  // namespace marvolt
