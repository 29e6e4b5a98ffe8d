#include "observation_header.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "date_time.h"
#include "failure.h"
#include "rinex_oracle.h"
#include "rinex_samples.h"

namespace marvolt {
namespace {

using testing::headerRecord;
using testing::joinLines;

const double kHeldDate = encodeDate(2001, 1, 1);  // the date an earlier analysis left

struct Date {
    int year, month, day;
};
struct Time {
    int hour, minute, second;
};

struct FoundCase {
    const char* name;
    std::vector<std::string> lines;
    std::optional<Date> date;  // nothing: the record is not found and the date is kept
    Time time;
};

const std::vector<std::string> kVersion = {
    headerRecord("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE")};

TEST(FirstObservation, ReadsTheFirstRecordLabelledExactly) {
    const std::vector<FoundCase> cases = {
        {"standard record",
         {kVersion[0],
          headerRecord("  2012     4     3    10    15    5.0000000     GPS", "TIME OF FIRST OBS"),
          headerRecord("", "END OF HEADER")},
         Date{2012, 4, 3},
         {10, 15, 5}},
        {"fraction dropped, not rounded",
         {headerRecord("  2012     4     3    10    15   59.9990000     GPS", "TIME OF FIRST OBS")},
         Date{2012, 4, 3},
         {10, 15, 59}},
        {"second record ignored",
         {headerRecord("  2012     4     3    10    15    5.0000000     GPS", "TIME OF FIRST OBS"),
          headerRecord("  2013     5     6    11    16    6.0000000     GPS", "TIME OF FIRST OBS")},
         Date{2012, 4, 3},
         {10, 15, 5}},
        {"no time system, tabs and trailing blanks",
         {headerRecord("\t2004\t6\t10  0     0    0.0000000", "TIME OF FIRST OBS   ")},
         Date{2004, 6, 10},
         {0, 0, 0}},
        {"label in lower case",
         {headerRecord("  2012     4     3    10    15    5.0000000     GPS", "time of first obs")},
         std::nullopt,
         {0, 0, 0}},
        {"label one column to the right",
         {headerRecord("  2012     4     3    10    15    5.0000000     GPS",
                       " TIME OF FIRST OBS")},
         std::nullopt,
         {0, 0, 0}},
        {"label cut short by the line end",
         {headerRecord("  2012     4     3    10    15    5.0000000     GPS", "TIME OF FIRST OB")},
         std::nullopt,
         {0, 0, 0}},
        {"no record at all",
         {kVersion[0], headerRecord("", "END OF HEADER")},
         std::nullopt,
         {0, 0, 0}},
        {"empty file", {}, std::nullopt, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double date = kHeldDate;
        const FirstObservation first = oracle::findFirstObservation(
            oracle::WholeFileLines::fromBytes(joinLines(c.lines, "\n")), date);
        EXPECT_EQ(first.found, c.date.has_value());
        EXPECT_EQ(date, c.date ? encodeDate(c.date->year, c.date->month, c.date->day) : kHeldDate);
        EXPECT_EQ(first.time, encodeTime(c.time.hour, c.time.minute, c.time.second, 0));
    }
}

struct FailureCase {
    const char* name;
    const char* values;  // columns 1 to 60 of the record
    const char* error;
    bool dateTaken;  // the record's date (3 April 2012) replaced the held one
};

TEST(FirstObservation, FailsOnBadItemsKeepingTheDateOnceBuilt) {
    const std::vector<FailureCase> cases = {
        {"month 13", "  2012    13     3    10    15    5.0000000     GPS",
         "Invalid argument to date encode", false},
        {"30 February", "  2012     2    30    10    15    5.0000000     GPS",
         "Invalid argument to date encode", false},
        {"day not a number", "  2012     4    3.    10    15    5.0000000     GPS",
         "'3.' is not a valid integer value", false},
        {"a quote swallows the rest into one item",
         "  2012'    4     3    10    15    5.0000000     GPS", "'' is not a valid integer value",
         false},
        {"seconds without a point", "  2012     4     3    10    15            5     GPS",
         "'' is not a valid integer value", true},
        {"no seconds and no time system: the label is read", "  2012     4     3    10    15",
         "'' is not a valid integer value", true},
        {"minute not a number", "  2012     4     3    10    1x    5.0000000     GPS",
         "'1x' is not a valid integer value", true},
        {"hour 24", "  2012     4     3    24    15    5.0000000     GPS",
         "Invalid argument to time encode", true},
        {"negative seconds", "  2012     4     3    10    15   -1.0000000     GPS",
         "Invalid argument to time encode", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double date = kHeldDate;
        const oracle::WholeFileLines lines =
            oracle::WholeFileLines::fromBytes(headerRecord(c.values, "TIME OF FIRST OBS") + "\r\n");
        try {
            oracle::findFirstObservation(lines, date);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.text(), c.error);
        }
        EXPECT_EQ(date, c.dateTaken ? encodeDate(2012, 4, 3) : kHeldDate);
    }
}

struct RealFile {
    const char* file;
    Date date;
    Time time;
};

TEST(FirstObservation, ReadsTheHeadersOfRealFiles) {
    const std::vector<RealFile> files = {
        {"geo_14601736.18o", {2018, 6, 22}, {6, 17, 30}},
        {"geo_demo.10o", {2010, 3, 5}, {0, 0, 0}},
        {"gnsstk_bahr1620.04o", {2004, 6, 10}, {0, 0, 0}},
        {"gpstk_arlm200a.15o", {2015, 7, 19}, {0, 0, 0}},
        {"gpstk_mixed211.05o", {2005, 3, 24}, {13, 10, 36}},
        {"gpstk_nklg170b00.16o", {2016, 6, 18}, {1, 0, 0}},
        {"rtk_07590920.05o", {2005, 4, 2}, {0, 0, 0}},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        double date = kHeldDate;
        const FirstObservation first = oracle::findFirstObservation(
            oracle::readWholeFile(std::string(MARVOLT_TEST_DATA) + "/" + f.file), date);
        EXPECT_TRUE(first.found);
        EXPECT_EQ(date, encodeDate(f.date.year, f.date.month, f.date.day));
        EXPECT_EQ(first.time, encodeTime(f.time.hour, f.time.minute, f.time.second, 0));
    }
}

}  // namespace
}  // namespace marvolt
