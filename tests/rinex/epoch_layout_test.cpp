#include "epoch_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "date_time.h"
#include "epoch_key.h"
#include "rinex_samples.h"

namespace marvolt {
namespace {

const EpochLayout& kRinex2 = EpochLayout::rinex2();
const EpochLayout& kRinex3 = EpochLayout::rinex3();

// Each layout's key, event-line prefix, flag and count on real epoch lines of its version.
TEST(EpochLayout, ColumnsFallOnTheFieldsOfRealEpochLines) {
    struct Case {
        const EpochLayout& layout;
        std::string line;
        double date, time;
        const char* key;
        const char* prefix;
        char flag;
        const char* count;
    };
    const std::vector<Case> cases = {
        {kRinex2, " 05  3 24 13 11  0.0000000  2  1", encodeDate(2005, 3, 24),
         encodeTime(13, 11, 0, 0), " 05 03 24 13 11  0", " 05  3 24 13 11  0.0000000", '2', "  1"},
        {kRinex3, "> 2018 07 29 12 00 15.0000000  0  4", encodeDate(2018, 7, 29),
         encodeTime(12, 0, 15, 0), "> 2018 07 29 12 00 15", "> 2018 07 29 12 00 15.0000000", '0',
         "  4"},
        {kRinex3, "> 2010 03 05 00 00 30.0000000  3 8      -0.123456789012", encodeDate(2010, 3, 5),
         encodeTime(0, 0, 30, 0), "> 2010 03 05 00 00 30", "> 2010 03 05 00 00 30.0000000", '3',
         " 8 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(epochKey(c.layout.datePiece(c.date), c.time), c.key);
        EXPECT_TRUE(c.layout.lineMatches(c.line, c.key));
        EXPECT_EQ(c.line.substr(0, c.layout.eventPrefixLength()), c.prefix);
        EXPECT_EQ(c.line[c.layout.flagPosition()], c.flag);
        EXPECT_EQ(c.line.substr(c.layout.countPosition(), kEpochCountLength), c.count);
    }
}

TEST(EpochLayout, Version3KeysMatchBothPaddingsFieldByField) {
    struct Case {
        const char* line;
        bool matches;
    };
    const char* key = "> 2012 04 03 10 05  7";
    const Case cases[] = {
        {"> 2012 04 03 10 05 07.0000000  0  1", true},
        {"> 2012  4  3 10  5  7.0000000  0  1", true},
        {"> 2012 04  3 10  5 07.0000000  0  1", true},  // paddings mixed in one line
        {"> 2012 04 03 10 05 07", true},                // exactly 21 bytes
        {"> 2012 04 03 10 05 0", false},
        {"> 2012 04 03 10 05 17.0000000  0  1", false},
        {"> 2013 04 03 10 05 07.0000000  0  1", false},
        {"  2012 04 03 10 05 07.0000000  0  1", false},  // no record marker
        {" 12 04 03 10 05  7.0000000  0  1G05", false},  // a version 2 epoch line
    };
    for (const auto& c : cases) EXPECT_EQ(kRinex3.lineMatches(c.line, key), c.matches) << c.line;
}

TEST(EpochLayout, Version3FlagsTwoAndThreeAreDataEpochsOnlyBeforeASatelliteLine) {
    struct Row {
        char flag;
        std::string next;
        bool dataEpoch;
    };
    const std::string satellite = testing::kSatelliteLine;
    const Row rows[] = {
        {'0', satellite, true},
        {'1', "", true},  // power failure: still data, whatever follows
        {' ', satellite, true},
        {'0', "> 2012 04 03 10 05 08.0000000  0  1", true},
        {'3', satellite, true},  // flagged by a modification
        {'2', "R 7 132798887.20808  22600648.288 7        39.000", true},
        {'3', "E05", true},
        {'3', testing::headerRecord("G12", "MARKER NAME"), false},  // a new site occupation
        {'2', testing::headerRecord("G07 MOVED", "COMMENT"), false},
        {'2', "", false},  // the end of the file
        {'2', "> 2012 04 03 10 05 08.0000000  0  1", false},
        {'3', "g12  23629347.915 8", false},
        {'3', "G1X  23629347.915 8", false},
        {'4', satellite, false},
        {'5', satellite, false},
        {'6', satellite, false},  // cycle slips
        {'x', satellite, false},
    };
    for (const Row& row : rows) {
        const std::string line =
            testing::epochRecord(2012, 4, 3, 10, 5, 7, testing::Padding::Zero, row.flag);
        EXPECT_EQ(kRinex3.isDataEpoch(line, row.next), row.dataEpoch) << line << " / " << row.next;
    }
    EXPECT_FALSE(kRinex3.isDataEpoch("> 2012 04 03 10 05 07.0000000  ", satellite));  // 31 bytes
    EXPECT_FALSE(kRinex3.isDataEpoch("  2012 04 03 10 05 07.0000000  0  1", satellite));
}

}  // namespace
}  // namespace marvolt
