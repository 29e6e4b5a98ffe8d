// The time system of a RINEX file's watch windows, and GPS time as the CSV writes it.

#include "time_system.h"

#include <gtest/gtest.h>

#include "date_time.h"
#include "failure_text.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

std::string firstObservation(const std::string& system) {
    return "  2023     7    11     6     4   30.0000000     " + system +
           "         TIME OF FIRST OBS";
}

TEST(TimeSystem, ReadFromTheFirstObservationRecord) {
    const struct {
        std::string columns;
        char fileSystem;
        TimeSystem system;
    } rows[] = {
        {"GPS", 'M', TimeSystem::Gps},     {"GLO", 'M', TimeSystem::Glonass},
        {"GAL", 'M', TimeSystem::Galileo}, {"BDT", 'M', TimeSystem::BeiDou},
        {"QZS", 'M', TimeSystem::Qzss},    {"   ", 'G', TimeSystem::Gps},
        {"   ", 'R', TimeSystem::Glonass}, {"   ", 'E', TimeSystem::Galileo},
    };
    for (const auto& row : rows)
        EXPECT_EQ(timeSystemOfRecord(firstObservation(row.columns), row.fileSystem), row.system)
            << row.columns << row.fileSystem;
    EXPECT_EQ(failureText([] { timeSystemOfRecord(firstObservation("UTC"), 'G'); }),
              "Nieznany system czasu \"UTC\" w pliku RINEX");

    const TempFolder folder;
    const std::string header =
        "     2.11           OBSERVATION DATA    R (GLONASS)         RINEX VERSION / TYPE\n"
        "  2023     7    11     6     4   30.0000000                 TIME OF FIRST OBS\n"
        "                                                            END OF HEADER\n";
    EXPECT_EQ(readTimeSystem(folder.write("glonass.23o", header)), TimeSystem::Glonass);
}

TEST(TimeSystem, WindowsOnGpsTimeAndWrittenInIso) {
    const double date = encodeDate(2023, 7, 11) + encodeTime(6, 7, 51, 0);
    const double gps = gpsSeconds(date, TimeSystem::Gps);
    EXPECT_EQ(isoGpsTime(gps), "2023-07-11T06:07:51.0");
    EXPECT_EQ(isoGpsTime(gpsSeconds(date, TimeSystem::Galileo)), "2023-07-11T06:07:51.0");
    EXPECT_EQ(isoGpsTime(gpsSeconds(date, TimeSystem::Glonass)), "2023-07-11T06:08:09.0");
    EXPECT_EQ(isoGpsTime(gpsSeconds(date, TimeSystem::BeiDou)), "2023-07-11T06:08:05.0");
    const double before2006 = encodeDate(2005, 12, 31) + encodeTime(23, 59, 59, 0);
    EXPECT_EQ(isoGpsTime(gpsSeconds(before2006, TimeSystem::Glonass)), "2006-01-01T00:00:12.0");
    EXPECT_EQ(isoGpsTime(gps + 8.96), "2023-07-11T06:08:00.0");
    EXPECT_EQ(isoGpsTime(gps - 0.04), "2023-07-11T06:07:51.0");
    EXPECT_DOUBLE_EQ(gpsDateTime(gps), date);
}

}  // namespace
}  // namespace marvolt::testing
