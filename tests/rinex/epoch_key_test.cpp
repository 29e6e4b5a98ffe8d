#include "epoch_key.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "date_time.h"
#include "rinex_samples.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

double at(int hour, int minute, int second, int millisecond = 0) {
    return encodeTime(hour, minute, second, millisecond);
}

TEST(EpochKey, DatePieceIsTheObservationDateOnly) {
    struct Case {
        double date;
        const char* piece;
    };
    const std::vector<Case> cases = {
        {encodeDate(2012, 4, 3), " 12 04 03 "},
        {encodeDate(2009, 12, 31), " 09 12 31 "},
        {encodeDate(2000, 1, 1), " 00 01 01 "},
        {0.0, " 99 12 30 "},                                      // before any analysis
        {encodeDate(2012, 4, 3) + at(23, 59, 59), " 12 04 03 "},  // a time of day is ignored
    };
    for (const auto& c : cases) EXPECT_EQ(datePiece(c.date), c.piece) << c.piece;
}

TEST(EpochKey, TimeAndSecondsPieces) {
    struct Case {
        const char* name;
        double time;
        const char* key;
    };
    const std::string date = " 12 04 03 ";
    const std::vector<Case> cases = {
        {"one-digit seconds after a blank", at(10, 5, 7), " 12 04 03 10 05  7"},
        {"5 s", at(10, 15, 5), " 12 04 03 10 15  5"},
        {"45 s", at(10, 15, 45), " 12 04 03 10 15 45"},
        {"0 s", at(10, 15, 0), " 12 04 03 10 15  0"},
        {"midnight", 0.0, " 12 04 03 00 00  0"},
        {"last second of the day", at(23, 59, 59, 999), " 12 04 03 23 59 59"},
        {"milliseconds dropped", at(10, 15, 5, 999), " 12 04 03 10 15  5"},
        {"next day keeps the observation date", 1.0 + at(0, 0, 5), " 12 04 03 00 00  5"},
        {"negative value: its absolute value", -0.25, " 12 04 03 06 00  0"},
        {"a hair below a whole day rounds to midnight", 0.999999999, " 12 04 03 00 00  0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(epochKey(date, c.time), c.key);
    }
}

TEST(LineMatches, AcceptsBothPaddingsFieldByField) {
    struct Case {
        const char* name;
        const char* line;
        const char* key;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"standard blank-padded line", " 12  4  3 10  5  7.0000000  0 8G 4G 5G",
         " 12 04 03 10 05  7", true},
        {"zero-padded line", " 12 04 03 10 05  7.0000000  0 8G 4G 5G", " 12 04 03 10 05  7", true},
        {"zero-padded seconds", " 12 04 03 10 05 07.0000000  0 8G", " 12 04 03 10 05  7", true},
        {"fields mixed in one line", " 12  4 03  0 05 07.0000000  0 8G", " 12 04 03 00 05  7",
         true},
        {"year blank-padded", "  2  4  3 10  5  7.0000000  0 8G", " 02 04 03 10 05  7", true},
        {"exactly 18 bytes", " 12  4  3 10  5  7", " 12 04 03 10 05  7", true},
        {"17 bytes", " 12  4  3 10  5  ", " 12 04 03 10 05  7", false},
        {"empty line", "", " 12 04 03 10 05  7", false},
        {"another second", " 12  4  3 10  5  8.0000000  0 8G", " 12 04 03 10 05  7", false},
        {"seconds 17 against 7", " 12  4  3 10  5 17.0000000  0 8G", " 12 04 03 10 05  7", false},
        {"ten o'clock against one o'clock", " 12  4  3  1  5  7.0000000", " 12 04 03 10 05  7",
         false},
        {"blank-padded line against a two-digit field", " 12  4  3  0  5  7.0000000",
         " 12 04 03 10 05  7", false},
        {"separator not a blank", "x12 04 03 10 05  7.0000000", " 12 04 03 10 05  7", false},
        {"field moved by one column", " 12 4  3 10  5  7.0000000", " 12 04 03 10 05  7", false},
        {"key of 17 bytes", " 12  4  3 10  5  7.0000000", " 12 04 03 10 05  ", false},
        {"odd key: the same bytes", "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQR", true},
        {"odd key: blank and '0' interchange at a field's first byte", " 0BCDEFGHIJKLMNOPQ",
         "  BCDEFGHIJKLMNOPQ", true},
        {"odd key: case-sensitive", "abcdefghijklmnopqr", "ABCDEFGHIJKLMNOPQR", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lineMatches(c.line, c.key), c.matches);
    }
}

using Lines = std::vector<std::size_t>;

// The lines that lineMatches accepts, by a plain scan of the whole list.
Lines scan(const LineList& lines, std::string_view key) {
    Lines found;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lineMatches(lines[i], key) && isDataEpoch(lines[i])) found.push_back(i);
    return found;
}

TEST(DataEpoch, FlagAndSatellitesTellAnEpochFromAnEventRecord) {
    struct Row {
        const char* line;
        bool dataEpoch;
    };
    const Row rows[] = {
        {" 05  3 24 13 10 36.0000000  0  4G12G09G06E11", true},
        {" 05  3 24 13 10 36.0000000  1  4G12G09G06E11", true},  // power failure: still data
        {" 05  3 24 13 10 36.0000000     4G12G09G06E11", true},  // blank flag
        {" 05  3 24 13 10 36.0000000  3  4G12G09G06E11", true},  // flagged by a modification
        {" 05  3 24 13 10 36.0000000  2 12  5  7  9", true},     // satellites without a system
        {" 05  3 24 13 10 36.0000000  2  4R 1", true},
        {" 05  3 24 13 10 36.0000000  0", true},      // the flag is there; nothing else is asked
        {" 05  3 24 13 11  0.0000000  2  1", false},  // a new-site event, no satellites
        {" 05  3 24 13 11  0.0000000  3  0G12", false},
        {" 05  3 24 13 11  0.0000000  3  1 X1", false},
        {" 05  3 24 13 11  0.0000000  3  1g12", false},
        {" 05  3 24 13 10 50.0000000  4  4", false},        // header records follow
        {" 05  3 24 13 13  1.2345678  5  0", false},        // external event
        {" 05  3 24 13 14 12.0000000  6  2G16G09", false},  // cycle slips
        {" 05  3 24 13 14 12.0000000  x  2G16G09", false},
        {" 05  3 24 13 14 12.000000", false},  // too short to carry a flag
    };
    for (const Row& row : rows) EXPECT_EQ(isDataEpoch(row.line), row.dataEpoch) << row.line;
}

TEST(EpochIndex, FindsEveryMatchingDataEpochInFileOrder) {
    const LineList lines = LineList::fromBytes(testing::joinLines(
        {
            testing::headerRecord("     2.11           OBSERVATION DATA", "RINEX VERSION / TYPE"),
            " 12  4  3 10  5  7.0000000  0  1G05",  // 1: standard layout
            testing::kObservationLine,
            " 12 04 03 10 05 07.0000000  0  1G05",  // 3: the same epoch zero-padded
            " 12  4  3 10  5  8.0000000  0  1G05",  // 4
            " 12  4  3 10  5  7",                   // 5: no more than the key: no flag
            " 12  4  3 10  5  ",                    // 6: too short
            "",
            " 12  4  3 10  5  7.0000000  4  1",  // 8: an event record of the same second
        },
        "\r\n"));
    const EpochIndex index(lines);
    EXPECT_EQ(index.linesMatching(" 12 04 03 10 05  7"), (Lines{1, 3}));
    EXPECT_EQ(index.linesMatching(" 12 04 03 10 05  8"), (Lines{4}));
    EXPECT_EQ(index.linesMatching(" 12 04 03 10 05  9"), Lines{});
    EXPECT_EQ(index.linesMatching(" 12 04 04 10 05  7"), Lines{});
    // A key unlike any epoch line matches the header line, which is no data epoch.
    EXPECT_EQ(index.linesMatching("     2.11         "), Lines{});
    EXPECT_EQ(index.linesMatching(" 12  4  3 10  5  "), Lines{});
    EXPECT_EQ(index.linesMatching(""), Lines{});
}

// The key with every field's first byte written as `pad` where it is a blank or a "0".
std::string repadded(std::string key, char pad) {
    for (const std::size_t field : {1, 4, 7, 10, 13, 16})
        if (key[field] == ' ' || key[field] == '0') key[field] = pad;
    return key;
}

TEST(EpochIndex, AgreesWithAPlainScanOnRealFiles) {
    const char* files[] = {"geo_14601736.18o",   "geo_demo.10o",       "gnsstk_bahr1620.04o",
                           "gpstk_arlm200a.15o", "gpstk_mixed211.05o", "gpstk_nklg170b00.16o",
                           "rtk_07590920.05o"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        const LineList lines = readLines(std::string(MARVOLT_TEST_DATA) + "/" + file);
        // The start of every line in both paddings (the file's own epochs among them), and
        // keys of the wrong length or shape.
        std::set<std::string> keys = {"", "short", std::string(18, ' '), std::string(19, ' '),
                                      " 12 04 03 10 05  "};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].size() < kEpochKeyLength) continue;
            const std::string start(lines[i].substr(0, kEpochKeyLength));
            keys.insert({start, repadded(start, '0'), repadded(start, ' '),
                         std::string(lines[i].substr(0, kEpochKeyLength + 1))});
        }
        ASSERT_GT(keys.size(), 100u);

        // Indexed after reading, and while reading the file.
        const EpochIndex index(lines);
        LineList readAlong;
        const EpochIndex indexRead =
            EpochIndex::readFile(std::string(MARVOLT_TEST_DATA) + "/" + file, readAlong);
        for (const auto& key : keys) {
            EXPECT_EQ(index.linesMatching(key), scan(lines, key)) << "key [" << key << "]";
            EXPECT_EQ(indexRead.linesMatching(key), scan(lines, key)) << "key [" << key << "]";
        }
    }
}

// A version 3 record flagged 2 or 3 waits for its next line, also while the file is read.
TEST(EpochIndex, FindsVersion3DataEpochsByTheLineAfterThem) {
    using testing::epochRecord;
    using testing::Padding;
    testing::TempFolder folder;
    const std::string file = folder.write(
        "survey.rnx",
        testing::joinLines(
            {
                testing::headerRecord("     3.04           OBSERVATION DATA    M",
                                      "RINEX VERSION / TYPE"),
                testing::headerRecord("", "END OF HEADER"),
                epochRecord(2012, 4, 3, 10, 5, 7, Padding::Zero),  // 2
                testing::kSatelliteLine,
                epochRecord(2012, 4, 3, 10, 5, 7, Padding::Blank, '3'),  // 4: flagged earlier
                testing::kSatelliteLine,
                epochRecord(2012, 4, 3, 10, 5, 8, Padding::Zero, '3'),  // 6: a new site
                testing::headerRecord("G12", "MARKER NAME"),
                epochRecord(2012, 4, 3, 10, 5, 8, Padding::Zero, '2'),  // 8: flagged earlier
                testing::kSatelliteLine,
                epochRecord(2012, 4, 3, 10, 5, 9, Padding::Zero, '2', 0),  // 10: at the end
            },
            "\n"));
    LineList read;
    const EpochIndex whileRead = EpochIndex::readFile(file, read);
    const EpochIndex after(read, EpochLayout::rinex3());
    EXPECT_EQ(whileRead.layout().version(), 3);
    for (const EpochIndex* index : {&whileRead, &after}) {
        EXPECT_EQ(index->linesMatching("> 2012 04 03 10 05  7"), (Lines{2, 4}));
        EXPECT_EQ(index->linesMatching("> 2012 04 03 10 05  8"), (Lines{8}));
        EXPECT_EQ(index->linesMatching("> 2012 04 03 10 05  9"), Lines{});
        EXPECT_EQ(index->linesMatching(" 12 04 03 10 05  7"), Lines{});
    }
}

}  // namespace
}  // namespace marvolt
