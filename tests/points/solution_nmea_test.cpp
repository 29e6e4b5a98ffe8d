// Reading NMEA logs: GGA positions dated by RMC and ZDA (or the observation date), over
// midnight, on GPS time; sentences with a wrong checksum are unreadable lines.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "failure_text.h"
#include "gps_time.h"
#include "scripted_services.h"
#include "solution.h"
#include "temp_folder.h"

namespace marvolt {
namespace {

const std::string kSolutions = std::string(MARVOLT_TEST_DATA) + "/solutions/";

// "$<body>*<checksum>" and a line end.
std::string sentence(const std::string& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\n", sum);
    return "$" + body + tail;
}

std::string gga(const std::string& time, int quality, const std::string& talker = "GP") {
    return sentence(talker + "GGA," + time + ",3509.6525012,N,13936.8303131,E," +
                    std::to_string(quality) + ",07,1.0,33.795,M,36.478,M,,");
}

std::vector<SolutionEpoch> readText(const std::string& bytes, double observationDate,
                                    testing::ScriptedServices& services) {
    const testing::TempFolder folder;
    std::vector<SolutionEpoch> epochs;
    readSolution(
        folder.write("log.nmea", bytes), observationDate,
        [&](const SolutionEpoch& e) { epochs.push_back(e); }, services);
    return epochs;
}

// rnx2rtkp's NMEA output of the static hour: UTC 2005-04-01 23:59:47 is 00:00:00 GPST.
TEST(SolutionNmeaTest, RtklibLogOverMidnightMatchesItsPosFile) {
    testing::ScriptedServices services;
    std::vector<SolutionEpoch> gga, pos;
    readSolution(
        kSolutions + "rtk_0759_gga_rmc.nmea", 0.0,
        [&](const SolutionEpoch& e) { gga.push_back(e); }, services);
    readSolution(
        kSolutions + "llh_week.pos", 0.0, [&](const SolutionEpoch& e) { pos.push_back(e); },
        services);
    ASSERT_EQ(gga.size(), 3u);
    ASSERT_EQ(pos.size(), 3u);
    for (std::size_t i = 0; i < gga.size(); ++i) {
        EXPECT_DOUBLE_EQ(gga[i].time, pos[i].time);
        EXPECT_LT(std::hypot(gga[i].x - pos[i].x, gga[i].y - pos[i].y, gga[i].z - pos[i].z), 0.002);
        EXPECT_EQ(gga[i].quality, SolutionQuality::Fix);
        EXPECT_EQ(gga[i].satellites, 7);
    }
    EXPECT_TRUE(services.log.empty());
}

// Each GGA quality, talker and the sentences around them.
TEST(SolutionNmeaTest, QualitiesTalkersAndBadSentences) {
    const std::string date = sentence("GPZDA,120000.00,02,04,2005,00,00");
    const std::string noChecksum =
        "$GNGGA,120005.00,3509.6525012,S,13936.8303131,W,1,07,1.0,33.795,M,36.478,M,,\n";
    const std::string log = date + gga("120001.00", 4) + gga("120002.00", 5, "GN") +
                            gga("120003.00", 2, "GL") + gga("120004.00", 1, "GA") +
                            gga("120004.50", 0, "GB") + gga("120004.60", 6) + noChecksum +
                            "$GPGGA,120006.00,3509.6525012,N*00\n" +  // wrong checksum
                            sentence("GPGGA,120007.00,3509.65,N") +   // too few fields
                            sentence("GPGSV,3,1,11,03,03,111,00") + sentence("PUBX,00");
    testing::ScriptedServices services;
    const auto epochs = readText(log, 0.0, services);
    const SolutionQuality expected[] = {SolutionQuality::Fix, SolutionQuality::Float,
                                        SolutionQuality::Dgps, SolutionQuality::Single,
                                        SolutionQuality::Single};
    ASSERT_EQ(epochs.size(), std::size(expected));
    const double noon = daySeconds(2005, 4, 2) + 12 * 3600 + 13;  // 13 leap seconds in 2005
    for (std::size_t i = 0; i < epochs.size(); ++i) {
        EXPECT_EQ(epochs[i].quality, expected[i]);
        EXPECT_DOUBLE_EQ(epochs[i].time, noon + 1.0 + static_cast<double>(i));
    }
    // South and west: the mirror of the point across the equator and the Greenwich meridian.
    EXPECT_NEAR(epochs[4].z, -epochs[0].z, 1e-6);
    EXPECT_NEAR(std::atan2(epochs[4].y, epochs[4].x), -std::atan2(epochs[0].y, epochs[0].x), 1e-12);
    EXPECT_EQ(services.messages(),
              (std::vector<std::string>{
                  "Wiersz 9 pliku rozwiązania ma nieprawidłowy format. Pominąłem go.",
                  "Wiersz 10 pliku rozwiązania ma nieprawidłowy format. Pominąłem go."}));
}

// Which day a GGA time of day falls on: the date sentence before it, the one after it, or
// the observation date; each epoch on the day nearest the one before.
TEST(SolutionNmeaTest, DatingOfGgaEpochs) {
    const double april2 = daySeconds(2005, 4, 2) + 13;  // as GPS time
    const double april2DateTime = kGpsStartDateTime + daySeconds(2005, 4, 2) / kSecondsPerDay;
    const struct {
        std::string log;
        double observationDate;
        std::vector<double> times;  // seconds after 2005-04-02 00:00:00 UTC
    } cases[] = {
        // RMC before, rolling over midnight.
        {sentence("GPRMC,235959.00,A,3509.65,N,13936.83,E,0.0,0.0,010405,,,A") +
             gga("235959.00", 4) + gga("000001.00", 4),
         0.0,
         {-1, 1}},
        // GGA epochs before the first RMC wait for it and take its day.
        {gga("235958.00", 4) + gga("235959.00", 4) + gga("000000.00", 4) +
             sentence("GPRMC,000000.00,A,3509.65,N,13936.83,E,0.0,0.0,020405,,,A"),
         0.0,
         {-2, -1, 0}},
        // ZDA dates a log, and an RMC without a date (no fix yet) does not.
        {sentence("GPRMC,100000.00,V,,,,,,,,,,N") + sentence("GPZDA,100000.00,02,04,2005,,") +
             gga("100000.00", 5),
         0.0,
         {36000}},
        // The observation date alone, over midnight.
        {gga("235959.00", 4) + gga("000001.00", 4), april2DateTime, {-1 + 86400, 86401}},
        // The observation date with its time of day: the day nearest to it.
        {gga("235959.00", 4), april2DateTime + 0.01, {-1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        testing::ScriptedServices services;
        const auto epochs = readText(c.log, c.observationDate, services);
        ASSERT_EQ(epochs.size(), c.times.size());
        for (std::size_t i = 0; i < epochs.size(); ++i)
            EXPECT_DOUBLE_EQ(epochs[i].time, april2 + c.times[i]);
        EXPECT_TRUE(services.log.empty());
    }
}

}  // namespace
}  // namespace marvolt
