#include "time_file_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_text.h"
#include "failure.h"
#include "scripted_services.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using testing::ScriptedServices;
using testing::TempFolder;
using Lines = std::vector<std::string>;

// A message window as the scripted services log it.
std::string shown(const std::string& text) { return "message: " + text; }

std::string badRow(int line) {
    return "Wiersz " + std::to_string(line) + " ma nieprawidłowy format. Pominąłem...";
}

std::string summary(int points, int errors) {
    return "Wczytałem " + std::to_string(points) +
           " punktów. Liczba błędnych wierszy: " + std::to_string(errors) + ".";
}

// Each record in STOP order as "PUNKT STOP GO", walked as the navigator walks it.
Lines records(TableCursor& cursor) {
    const TimeTable& table = cursor.table();
    Lines result;
    // Bounded, so that a missing end mark fails instead of looping.
    const auto bound = static_cast<std::size_t>(table.rowCount());
    for (cursor.first(); !cursor.eof() && result.size() <= bound; cursor.next()) {
        const int row = cursor.currentRow();
        result.push_back(cellText(table, row, Field::Punkt) + " " +
                         cellText(table, row, Field::Stop) + " " + cellText(table, row, Field::Go));
    }
    return result;
}

Lines records(TimeTable& table) {
    TableCursor cursor(table);
    return records(cursor);
}

class TimeFileImport : public ::testing::Test {
  protected:
    TimeFileImport() { table.open(); }

    // Imports a file holding these bytes, as the window does.
    void importBytes(const std::string& bytes) {
        importTimeFile(folder.write("czasy.txt", bytes), table, services, &cursor);
    }

    void addPoint(const std::string& name, const std::string& stop) {
        cursor.append();
        table.setText(Field::Punkt, name);
        table.setText(Field::Stop, stop);
        table.post();
    }

    TempFolder folder;
    ScriptedServices services;
    TimeTable table{LocaleSettings{}};
    TableCursor cursor{table};  // the window's grid
};

TEST_F(TimeFileImport, EmptyLinesAreBadRowsWithTheirNumbers) {
    importBytes(
        "1 10:00:01 10:01:01\r\n2 10:00:02 10:01:02\r\n3 10:00:03 10:01:03\r\n\r\n"
        "5 10:00:05 10:01:05\r\n6 10:00:06 10:01:06\r\n7 10:00:07 10:01:07\r\n"
        "8 10:00:08 10:01:08\r\n\r\n10 10:00:10 10:01:10\r\n");
    EXPECT_EQ(services.log,
              (Lines{"busy", shown(badRow(4)), shown(badRow(9)), "normal", shown(summary(8, 2))}));
    EXPECT_EQ(table.recordCount(), 8);
    EXPECT_EQ(table.state(), TableState::Browsing);
}

TEST_F(TimeFileImport, EachLineAloneGivesOnePointOrOneBadRow) {
    struct Row {
        const char* line;
        const char* record;  // "" for a bad row
    };
    const std::vector<Row> rows = {
        {"101 10:15:05 10:20:30", "101 10:15:05 10:20:30"},
        {"101 10:15:05 10:20:30 uwaga", "101 10:15:05 10:20:30"},   // fourth item ignored
        {"\t102 \t 9:5:7\t\t10:20:30  ", "102 09:05:07 10:20:30"},  // runs of blanks, G:M:S
        {"ABCDEFGHIJKL 10:15:05 10:20:30", "ABCDEFGHIJ 10:15:05 10:20:30"},  // cut to 10
        {"\"Pkt 7\" 10:15:05 10:20:30", "\"Pkt 7\" 10:15:05 10:20:30"},      // quotes kept
        {"103 10:15:05 ", ""},                                               // no GO
        {"103;10:15:05;10:20:30", ""},                                       // one item
        // the comma does not separate: the name is "103,10:15:05" cut to 10 bytes
        {"103,10:15:05 10:20:30 10:25:00", "103,10:15: 10:20:30 10:25:00"},
        {"104 25:00:00 10:20:30", ""},     // hour 25
        {"105 10:61:00 10:20:30", ""},     // minute 61
        {"106 10:15:05 10:2x:30", ""},     // GO unreadable
        {"O'Neil 10:15:05 10:20:30", ""},  // the quote runs to the end: one item
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        TimeTable fresh{LocaleSettings{}};
        fresh.open();
        ScriptedServices script;
        importTimeFile(folder.write("wiersz.txt", std::string(row.line) + "\r\n"), fresh, script);
        const bool good = *row.record != '\0';
        const Lines expected = good ? Lines{summary(1, 0)} : Lines{badRow(1), summary(0, 1)};
        EXPECT_EQ(script.messages(), expected);
        EXPECT_EQ(records(fresh), good ? Lines{row.record} : Lines{});
        EXPECT_EQ(fresh.rowCount(), good ? 1 : 0);
    }
}

TEST_F(TimeFileImport, AppendsToAFilledTableInStopOrder) {
    addPoint("A", "8:00:00");
    addPoint("B", "12:00:00");
    addPoint("C", "16:00:00");
    cursor.moveTo(1);  // the imported records are inserted here, then take their places
    importBytes("N1 17:00:00 17:05:00\nN2 7:00:00 7:05:00\nN3 12:00:00 12:05:00\n");
    EXPECT_EQ(cursor.currentRow(), 1);  // the grid stays on its row
    EXPECT_FALSE(cursor.bof());
    EXPECT_EQ(services.messages(), (Lines{summary(3, 0)}));
    EXPECT_EQ(records(cursor), (Lines{"N2 07:00:00 07:05:00", "A 08:00:00 ", "N3 12:00:00 12:05:00",
                                      "B 12:00:00 ", "C 16:00:00 ", "N1 17:00:00 17:05:00"}));
}

TEST_F(TimeFileImport, EqualStopsEndInReverseFileOrderAndTwiceHoldsEveryPointTwice) {
    const std::string file = "A 10:00:00 10:05:00\nB 10:00:00 10:06:00\nC 10:00:00 10:07:00\n";
    importBytes(file);
    EXPECT_EQ(records(cursor),
              (Lines{"C 10:00:00 10:07:00", "B 10:00:00 10:06:00", "A 10:00:00 10:05:00"}));
    importBytes(file);
    EXPECT_EQ(records(cursor),
              (Lines{"C 10:00:00 10:07:00", "B 10:00:00 10:06:00", "A 10:00:00 10:05:00",
                     "C 10:00:00 10:07:00", "B 10:00:00 10:06:00", "A 10:00:00 10:05:00"}));
    EXPECT_EQ(services.messages(), (Lines{summary(3, 0), summary(3, 0)}));
}

TEST_F(TimeFileImport, MissingFileEndsWithItsErrorAndNoSummary) {
    addPoint("A", "8:00:00");
    std::string error = "(no failure)";
    try {
        importTimeFile(folder.file("brak.txt"), table, services);
    } catch (const Failure& failure) {
        error = failure.text();
    }
    EXPECT_EQ(error, "File not found");
    EXPECT_EQ(services.log, (Lines{"busy", "normal"}));
    EXPECT_EQ(records(cursor), (Lines{"A 08:00:00 "}));
}

TEST_F(TimeFileImport, ARinexFileIsRefusedWholeAndTheTableStays) {
    addPoint("A", "8:00:00");
    const std::string rinex = folder.write(
        "pomiar.11o",
        "     2.11           OBSERVATION DATA    G (GPS)             RINEX VERSION / TYPE\n"
        " 11  6 14 10 17  0.0000000  0  7G10G12G15G18G21G24G29\n");
    std::string error = "(no failure)";
    try {
        importTimeFile(rinex, table, services);
    } catch (const Failure& failure) {
        error = failure.text();
    }
    EXPECT_EQ(error,
              "Plik \"" + rinex + "\" jest plikiem RINEX, a nie plikiem z czasami Stop & Go.");
    EXPECT_EQ(services.messages(), Lines{});
    EXPECT_EQ(records(cursor), (Lines{"A 08:00:00 "}));
}

// Time files saved by Windows editors: UTF-16 either way round and UTF-8 with its mark give
// Windows-1250 names; a name that Windows-1250 cannot hold (an omega) is a bad row.
TEST_F(TimeFileImport, UnicodeFilesFromWindowsEditors) {
    const std::u16string text =
        u"\u0141\u00F3d\u017A 10:00:00 10:01:00\r\n\u03A9 10:02:00 10:03:00\r\n"
        u"102 10:04:00 10:05:00";
    const std::string utf8 =
        "\xEF\xBB\xBF\xC5\x81\xC3\xB3\x64\xC5\xBA 10:00:00 10:01:00\r\n"
        "\xCE\xA9 10:02:00 10:03:00\r\n102 10:04:00 10:05:00";
    for (const std::string& bytes :
         {testing::utf16Bytes(text, false), testing::utf16Bytes(text, true), utf8}) {
        table.cancel();
        while (table.recordCount() > 0) table.remove(0);
        services.log.clear();
        importBytes(bytes);
        EXPECT_EQ(services.log, (Lines{"busy", shown(badRow(2)), "normal", shown(summary(2, 1))}));
        ASSERT_EQ(table.recordCount(), 2);
        EXPECT_EQ(table.record(0).punkt, "\xA3\xF3\x64\x9F");  // Łódź in Windows-1250
        EXPECT_EQ(table.record(1).punkt, "102");
    }
}

}  // namespace
}  // namespace marvolt
