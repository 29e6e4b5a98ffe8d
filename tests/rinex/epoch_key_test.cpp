#include "epoch_key.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "date_time.h"
#include "epoch_scan.h"
#include "line_reader.h"
#include "rinex_oracle.h"
#include "rinex_samples.h"
#include "rinex_version.h"
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
    for (const auto& c : cases) EXPECT_EQ(oracle::datePiece(c.date), c.piece) << c.piece;
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
        EXPECT_EQ(oracle::lineMatches(c.line, c.key), c.matches);
    }
}

using Lines = std::vector<std::size_t>;

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
    for (const Row& row : rows) EXPECT_EQ(oracle::isDataEpoch(row.line), row.dataEpoch) << row.line;
}

// The data epochs a scan of the file in blocks of `blockSize` bytes finds, as "line code".
std::vector<std::string> scannedEpochs(const std::string& file, std::size_t blockSize) {
    std::vector<std::string> found;
    scanEpochs(
        file,
        [](std::size_t, std::string_view, const EpochLayout&) { return NextLines::EpochShaped; },
        [&](const ScannedEpoch& epoch) {
            found.push_back(std::to_string(epoch.line) + " " + std::to_string(epoch.code));
        },
        blockSize);
    return found;
}

// The same by a plain look at every line of the whole file, each data epoch's offset
// checked against the file's bytes.
std::vector<std::string> plainEpochs(const std::string& file) {
    const std::string bytes = testing::readBytes(file);
    const oracle::WholeFileLines lines = oracle::readWholeFile(file);
    const EpochLayout& layout = layoutOfFile(lines.empty() ? "" : lines[0], file);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (oracle::isDataEpoch(layout, lines, i))
            if (const auto code = layout.epochCode(lines[i]))
                found.push_back(std::to_string(i) + " " + std::to_string(*code));
    return found;
}

TEST(EpochScan, FindsEveryDataEpochInFileOrderWhateverTheBlocks) {
    testing::TempFolder folder;
    const std::string file = folder.write(
        "survey.12o",
        testing::joinLines(
            {
                testing::headerRecord("     2.11           OBSERVATION DATA",
                                      "RINEX VERSION / TYPE"),
                " 12  4  3 10  5  7.0000000  0  1G05",  // 1: standard layout
                testing::kObservationLine,
                " 12 04 03 10 05 07.0000000  0  1G05",  // 3: the same epoch zero-padded
                " 12  4  3 10  5  8.0000000  0  1G05",  // 4
                " 12  4  3 10  5  7",                   // 5: no more than the key: no flag
                "",
                " 12  4  3 10  5  7.0000000  4  1",  // 7: an event record of the same second
            },
            "\r\n"));
    const std::string seven =
        std::to_string(*EpochLayout::rinex2().epochCode(" 12 04 03 10 05  7"));
    const std::string eight =
        std::to_string(*EpochLayout::rinex2().epochCode(" 12 04 03 10 05  8"));
    for (const std::size_t block :
         {std::size_t{2}, std::size_t{5}, std::size_t{40}, LineReader::kBlockSize})
        EXPECT_EQ(scannedEpochs(file, block),
                  (std::vector<std::string>{"1 " + seven, "3 " + seven, "4 " + eight}))
            << block;
}

// Every real file, version 2 and 3, in blocks big and small: what a plain look at every line
// finds, with each epoch where the file has it.
TEST(EpochScan, AgreesWithAPlainLookAtEveryLineOfRealFiles) {
    const char* files[] = {"geo_14601736.18o",   "geo_demo.10o",       "gnsstk_bahr1620.04o",
                           "gpstk_arlm200a.15o", "gpstk_mixed211.05o", "gpstk_nklg170b00.16o",
                           "rtk_07590920.05o",   "glab_demo3.10o",     "gnsstk_bahr1620_v304.rnx"};
    for (const char* name : files) {
        SCOPED_TRACE(name);
        const std::string file = std::string(MARVOLT_TEST_DATA) + "/" + name;
        const std::string bytes = testing::readBytes(file);
        const std::vector<std::string> plain = plainEpochs(file);
        ASSERT_FALSE(plain.empty());
        for (const std::size_t block : {std::size_t{61}, std::size_t{4096}, LineReader::kBlockSize})
            EXPECT_EQ(scannedEpochs(file, block), plain) << block;
        // Each epoch's offset is where its line starts in the file.
        const oracle::WholeFileLines lines = oracle::readWholeFile(file);
        scanEpochs(
            file,
            [](std::size_t, std::string_view, const EpochLayout&) {
                return NextLines::EpochShaped;
            },
            [&](const ScannedEpoch& epoch) {
                EXPECT_EQ(bytes.substr(epoch.offset, lines[epoch.line].size()), lines[epoch.line]);
            });
    }
}

// A version 3 record flagged 2 or 3 is a data epoch by the line after it.
TEST(EpochScan, FindsVersion3DataEpochsByTheLineAfterThem) {
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
    const std::string seven =
        std::to_string(*EpochLayout::rinex3().epochCode("> 2012 04 03 10 05  7"));
    const std::string eight =
        std::to_string(*EpochLayout::rinex3().epochCode("> 2012 04 03 10 05  8"));
    EXPECT_EQ(scannedEpochs(file, LineReader::kBlockSize),
              (std::vector<std::string>{"2 " + seven, "4 " + seven, "8 " + eight}));
    EXPECT_EQ(plainEpochs(file), scannedEpochs(file, 7));
}

}  // namespace
}  // namespace marvolt
