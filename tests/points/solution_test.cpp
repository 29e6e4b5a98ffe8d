// Reading RTKLIB .pos files: every form rnx2rtkp writes gives the same epochs, and the lines
// that cannot be read are reported and passed by.

#include "solution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "failure_text.h"
#include "gps_time.h"
#include "scripted_services.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

const std::string kSolutions = std::string(MARVOLT_TEST_DATA) + "/solutions/";

std::vector<SolutionEpoch> readAll(const std::string& path, Services& services,
                                   double observationDate = 0.0) {
    std::vector<SolutionEpoch> epochs;
    readSolution(
        path, observationDate, [&](const SolutionEpoch& e) { epochs.push_back(e); }, services);
    return epochs;
}

double distance(const SolutionEpoch& a, const SolutionEpoch& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// The first three epochs of one kinematic solution, written in each form rnx2rtkp has.
TEST(SolutionTest, EveryFormOfOneSolutionReadsAlike) {
    testing::ScriptedServices services;
    const auto ecef = readAll(kSolutions + "ecef_week.pos", services);
    ASSERT_EQ(ecef.size(), 3u);
    // -3976219.6599 3382372.5408 3652513.0516 at 2005/04/02 00:00:00 GPST (week 1316, 518400 s)
    EXPECT_DOUBLE_EQ(ecef[0].time, 1316 * 604800.0 + 518400.0);
    EXPECT_DOUBLE_EQ(ecef[0].x, -3976219.6599);
    EXPECT_DOUBLE_EQ(ecef[2].time - ecef[0].time, 60.0);

    const struct {
        const char* file;
        double tolerance;  // metres: the rounding of the form
        bool velocity;
    } forms[] = {{"llh_week.pos", 0.001, true}, {"llh_time.pos", 0.001, true},
                 {"llh_utc.pos", 0.001, true},  {"llh_week_utc.pos", 0.001, true},
                 {"llh_deci.pos", 0.001, true}, {"llh_comma.pos", 0.001, true},
                 {"dms_time.pos", 0.001, true}, {"dms_semicolon.pos", 0.001, true},
                 {"enu_time.pos", 0.001, false}};
    for (const auto& form : forms) {
        SCOPED_TRACE(form.file);
        const auto epochs = readAll(kSolutions + form.file, services);
        ASSERT_EQ(epochs.size(), ecef.size());
        for (std::size_t i = 0; i < epochs.size(); ++i) {
            EXPECT_NEAR(epochs[i].time, ecef[i].time, 1e-6);
            EXPECT_LT(distance(epochs[i], ecef[i]), form.tolerance);
            EXPECT_EQ(epochs[i].quality, SolutionQuality::Fix);
            EXPECT_EQ(epochs[i].satellites, 7);
            EXPECT_EQ(epochs[i].velocity.has_value(), form.velocity);
            // The earth-centred deviations turned to east/north/up agree with those written.
            ASSERT_TRUE(epochs[i].sd && ecef[i].sd);
            EXPECT_NEAR(epochs[i].sd->e, ecef[i].sd->e, 0.0006);
            EXPECT_NEAR(epochs[i].sd->n, ecef[i].sd->n, 0.0006);
            EXPECT_NEAR(epochs[i].sd->u, ecef[i].sd->u, 0.0006);
        }
    }
    EXPECT_TRUE(services.log.empty());
}

// RTKLIB's solution of a drive: velocity columns ve, vn, vu and deviations go east/north/up.
TEST(SolutionTest, VelocityAndDeviationsOfADrive) {
    testing::ScriptedServices services;
    const auto epochs = readAll(kSolutions + "matrtklib_rover_head.pos", services);
    ASSERT_EQ(epochs.size(), 5u);
    // 2023/07/11 06:04:32.000 ... 1 19 0.0045 0.0045 0.0097 ... 0.01946 -0.02313 0.01343
    EXPECT_DOUBLE_EQ(epochs[0].time, daySeconds(2023, 7, 11) + 6 * 3600 + 4 * 60 + 32);
    ASSERT_TRUE(epochs[0].velocity && epochs[0].sd);
    EXPECT_DOUBLE_EQ(epochs[0].velocity->e, -0.02313);
    EXPECT_DOUBLE_EQ(epochs[0].velocity->n, 0.01946);
    EXPECT_DOUBLE_EQ(epochs[0].velocity->u, 0.01343);
    EXPECT_DOUBLE_EQ(epochs[0].sd->u, 0.0097);
    EXPECT_EQ(epochs[0].satellites, 19);
}

// Files that hold no solution to read, and a time system other than GPST or UTC.
TEST(SolutionTest, FilesThatEndTheReading) {
    const testing::TempFolder folder;
    const std::string title =
        "%  GPST                  latitude(deg) longitude(deg)  height(m)   Q  ns\n";
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", "nie zawiera rozwiązania (pliku .pos z RTKLIB ani zdań NMEA GGA)."},
        {"% program   : RTKLIB ver.2.4.3\n" + title,
         "nie zawiera rozwiązania (pliku .pos z RTKLIB ani zdań NMEA GGA)."},
        {"     2.11           OBSERVATION DATA    M (MIXED)           RINEX VERSION / TYPE\n",
         "nie zawiera rozwiązania (pliku .pos z RTKLIB ani zdań NMEA GGA)."},
        {"%  JST                   latitude(deg) longitude(deg)  height(m)   Q  ns\n"
         "2005/04/02 09:00:00.000   35.160872529  139.613836777    69.8714   1   7\n",
         "podaje czas w systemie JST; czytam rozwiązania w czasie GPST albo UTC."},
        {"$GPGGA,235947.00,3509.6525012,N,13936.8303131,E,4,07,1.0,33.795,M,36.478,M,,*59\n",
         "nie zawiera daty (zdań RMC ani ZDA); podaj też plik RINEX."},
    };
    for (const auto& c : cases) {
        const std::string path = folder.write("solution.pos", c.bytes);
        testing::ScriptedServices services;
        EXPECT_EQ(testing::failureText([&] { readAll(path, services); }),
                  "Plik \"" + path + "\" " + c.text);
        EXPECT_TRUE(services.log.empty()) << c.bytes;
    }
}

// Bad lines: the first ten named by their line number, the rest counted after the end; the
// good lines around them are read. A lone CR inside a line is left out.
TEST(SolutionTest, UnreadableLinesAreReportedAndPassedBy) {
    const std::string good = "1316 518400.000   35.160872529  139.613836777    69.8714   1   7\n";
    std::string bytes = "%  GPST          latitude(deg) longitude(deg)  height(m)   Q  ns\n";
    const std::string bad[] = {
        "1316 518400.000   35.160872529  139.613836777    69.8714   7   7\n",  // Q 7
        "1316 518400.000   95.160872529  139.613836777    69.8714   1   7\n",  // beyond the pole
        "1316 518400.000   35.160872529  139.613836777\n",                     // too few fields
        "1316 518400.000   35.16O872529  139.613836777    69.8714   1   7\n",  // letter O
        "2005/13/02 00:00:00.000 35.160872529 139.613836777 69.8714 1 7\n",    // month 13
        "2005/04/02 00:00 35.160872529 139.613836777 69.8714 1 7\n",           // no seconds
        "1316 518400.000   35.160872529  139.613836777    nan   1   7\n",
        "1316 518400.000   35.160872529  139.613836777    69.8714   1   -7\n",
        "$GPGGA,000017.00,3509.6525008,N,13936.8303149,E,4,07,1.0,33.788,M,36.478,M,0.0,0000*68\n",
        "junk\n",
        "1316\n",
        "-\n",
        "1e999 518400 1 1 1 1 1\n"};
    for (const std::string& line : bad) bytes += line + good;
    bytes += "1316 518430.000   35.160\r872529  139.613836777    69.8714   1   7\n";
    const testing::TempFolder folder;
    const std::string path = folder.write("bad.pos", bytes);
    testing::ScriptedServices services;
    EXPECT_EQ(readAll(path, services).size(), std::size(bad) + 1);
    std::vector<std::string> expected;
    for (int line = 2; line <= 20; line += 2)
        expected.push_back("Wiersz " + std::to_string(line) +
                           " pliku rozwiązania ma nieprawidłowy format. Pominąłem go.");
    expected.push_back("Pominąłem jeszcze 3 nieczytelnych wierszy pliku rozwiązania.");
    EXPECT_EQ(services.messages(), expected);
}

// Before a file shows itself a solution its lines are not reported: a file that never
// does ends with the one Failure.
TEST(SolutionTest, LinesBeforeTheTitleAreReportedOnceItComes) {
    const testing::TempFolder folder;
    const std::string path =
        folder.write("late.pos",
                     "garbage\n"
                     "%  GPST                  latitude(deg) longitude(deg)  height(m)   Q  ns\n"
                     "2005/04/02 00:00:00.000   35.160872529  139.613836777    69.8714   2   7\n");
    testing::ScriptedServices services;
    const auto epochs = readAll(path, services);
    ASSERT_EQ(epochs.size(), 1u);
    EXPECT_EQ(epochs[0].quality, SolutionQuality::Float);
    EXPECT_EQ(services.messages(), std::vector<std::string>{"Wiersz 1 pliku rozwiązania ma "
                                                            "nieprawidłowy format. Pominąłem go."});
}

}  // namespace
}  // namespace marvolt
