#include "time_file_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_text.h"
#include "failure_text.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

using testing::failureText;
using testing::readBytes;
using testing::TempFolder;
using Lines = std::vector<std::string>;

// The table of a locale whose time separator is "." and decimal separator ",".
TimeTable dottedTable() {
    LocaleSettings locale;
    locale.timeSeparator = ".";
    locale.decimalSeparator = ",";
    TimeTable table(locale);
    table.open();
    return table;
}

void addPoint(TimeTable& table, const std::string& name, const std::string& stop,
              const std::string& go) {
    table.insert(table.recordCount());
    table.setText(Field::Punkt, name);
    table.setText(Field::Stop, stop);
    table.setText(Field::Go, go);
    table.post();
}

Lines linesOf(const LineList& list) {
    Lines lines;
    for (std::size_t i = 0; i < list.size(); ++i) lines.emplace_back(list[i]);
    return lines;
}

// Names as stored bytes ("Łódź" in Windows-1250), times with the locale's separators and
// milliseconds only where there are some; A, B, C share a STOP, so the table holds them as
// C, B, A and the file in the order that the import turns back into C, B, A.
TEST(TimeFileLines, ImportFormatInTheOrderTheImportRestores) {
    TimeTable table = dottedTable();
    addPoint(table, "A", "10", "11");
    addPoint(table, "B", "10", "11.0.0,250");
    addPoint(table, "C", "10", "11");
    addPoint(table, "\xA3\xF3\x64\x9F", "9.5.3,5", "9.6");
    ASSERT_EQ(cellText(table, 1, Field::Punkt), "C");

    EXPECT_EQ(linesOf(timeFileLines(table)),
              Lines({"\xA3\xF3\x64\x9F 09.05.03,005 09.06.00", "A 10.00.00 11.00.00",
                     "B 10.00.00 11.00.00,250", "C 10.00.00 11.00.00"}));
}

// Every record that would not read back the same is named, in table order; nothing is
// asked and nothing written.
TEST(TimeFileLines, RefusesRecordsThatWouldNotReadBack) {
    TimeTable table = dottedTable();
    addPoint(table, "101", "8", "8.5");
    addPoint(table, "", "8.10", "8.15");
    addPoint(table, "A B", "8.20", "");
    addPoint(table, "O'Neil", "8.30", "8.35");
    addPoint(table, "\"Q\"", "8.40", "8.45");
    addPoint(table, "T\tU", "8.50", "8.55");
    addPoint(table, "102", "", "9");
    TempFolder folder;
    bool asked = false;
    EXPECT_EQ(failureText([&] {
                  saveTimeFile(table, [&] {
                      asked = true;
                      return std::optional<std::string>(folder.file("czasy.txt"));
                  });
              }),
              "Nie zapisałem tabeli czasów.\nTych punktów nie da się zapisać w pliku z czasami:\n"
              "Punkt \"102\": brak czasu STOP\n"
              "Punkt \"\": brak nazwy\n"
              "Punkt \"A B\": spacja, tabulator lub cudzysłów w nazwie; brak czasu GO\n"
              "Punkt \"O'Neil\": spacja, tabulator lub cudzysłów w nazwie\n"
              "Punkt \"\"Q\"\": spacja, tabulator lub cudzysłów w nazwie\n"
              "Punkt \"T\tU\": spacja, tabulator lub cudzysłów w nazwie");
    EXPECT_FALSE(asked);
    EXPECT_THROW(readBytes(folder.file("czasy.txt")), std::runtime_error);
}

// A long list names the first ten and counts the rest.
TEST(TimeFileLines, CountsTheRefusedRecordsBeyondTen) {
    TimeTable table = dottedTable();
    for (int point = 1; point <= 12; ++point)
        addPoint(table, std::to_string(point), "8." + std::to_string(point), "");
    const std::string text = failureText([&] { timeFileLines(table); });
    EXPECT_NE(text.find("Punkt \"10\": brak czasu GO\n"), std::string::npos);
    EXPECT_EQ(text.find("Punkt \"11\""), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), "Pozostałych takich punktów: 2");
}

// Saving posts the record still being inserted, writes CR LF lines to the chosen file and
// takes the typed marks off; a cancelled choice writes nothing and keeps them.
TEST(SaveTimeFile, WritesTheChosenFileAndClearsTheTypedMarks) {
    TimeTable table = dottedTable();
    table.insert(table.recordCount());
    table.setText(Field::Punkt, "101");
    table.setText(Field::Stop, "10.15.05");
    table.setText(Field::Go, "10.20");
    table.markTyped();
    TempFolder folder;
    const std::string path = folder.file("czasy.txt");

    saveTimeFile(table, [] { return std::optional<std::string>(); });
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_TRUE(table.hasTypedRecords());
    EXPECT_THROW(readBytes(path), std::runtime_error);

    saveTimeFile(table, [&] { return std::optional<std::string>(path); });
    EXPECT_EQ(readBytes(path), "101 10.15.05 10.20.00\r\n");
    EXPECT_FALSE(table.hasTypedRecords());
}

}  // namespace
}  // namespace marvolt
