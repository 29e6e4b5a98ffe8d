// marvolt-cli points on real solutions: a drive with its ground truth, and a static hour
// computed by rnx2rtkp.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli_process.h"
#include "platform_skip.h"
#include "temp_folder.h"

namespace marvolt::testing {
namespace {

const std::string kData = MARVOLT_TEST_DATA;
const std::string kRover = kData + "/solutions/matrtklib_rover_1Hz_rtk.pos";

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

// The printed table's rows by column name, from the header row on.
std::vector<std::map<std::string, std::string>> tableRows(const std::string& out) {
    std::vector<std::map<std::string, std::string>> rows;
    const std::vector<std::string> lines = split(out, '\n');
    std::size_t header = 0;
    while (header < lines.size() && lines[header].rfind("point\t", 0) != 0) ++header;
    if (header == lines.size()) return rows;
    const std::vector<std::string> names = split(lines[header], '\t');
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = split(lines[i], '\t');
        if (cells.size() != names.size()) break;
        std::map<std::string, std::string> row;
        for (std::size_t c = 0; c < names.size(); ++c) row[names[c]] = cells[c];
        rows.push_back(row);
    }
    return rows;
}

// The truth's stops (tests/data/solutions/matrtklib_stops.txt) moved by `shift` seconds,
// with their GPS times of day.
struct TruthStop {
    std::string name;
    int stop, go;  // seconds of the day
};
std::vector<TruthStop> truthStops() {
    std::vector<TruthStop> stops;
    std::stringstream file(readBytes(kData + "/solutions/matrtklib_stops.txt"));
    std::string name, stop, go;
    const auto seconds = [](const std::string& t) {
        int h = 0, m = 0, s = 0;
        std::sscanf(t.c_str(), "%d:%d:%d", &h, &m, &s);
        return h * 3600 + m * 60 + s;
    };
    while (file >> name >> stop >> go) stops.push_back({name, seconds(stop), seconds(go)});
    return stops;
}

std::string timeFile(const std::vector<TruthStop>& stops, int shift) {
    std::string text;
    char line[64];
    for (const TruthStop& s : stops) {
        const int a = s.stop + shift, b = s.go + shift;
        std::snprintf(line, sizeof line, "%s %d:%02d:%02d %d:%02d:%02d\n", s.name.c_str(), a / 3600,
                      a / 60 % 60, a % 60, b / 3600, b / 60 % 60, b % 60);
        text += line;
    }
    return text;
}

// Seconds of the day of "2023-07-11T06:07:51.0".
double secondsOfDay(const std::string& iso) {
    int h = 0, m = 0;
    double s = 0;
    std::sscanf(iso.c_str() + 11, "%d:%d:%lf", &h, &m, &s);
    return h * 3600 + m * 60 + s;
}

TEST(CliPoints, TheDriveFindsEveryStopAndItsEndsNearTheTruth) {
    const TempFolder folder;
    const std::vector<TruthStop> truth = truthStops();
    const CliRun run = runCli({"points", "--grid", "none", "--shift", "0:00:00",
                               folder.write("stops.txt", timeFile(truth, 0)), kRover});
    EXPECT_EQ(run.err, "");
    const auto rows = tableRows(run.out);
    ASSERT_EQ(rows.size(), truth.size()) << run.out;
    int found = 0, near = 0, seen = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string& state = rows[i].at("state");
        found += state == "OK" || state == "przesunięty";
        for (const auto& [column, time] :
             {std::pair{"stop_data", truth[i].stop}, std::pair{"go_data", truth[i].go}}) {
            if (rows[i].at(column).empty()) continue;
            ++seen;
            near += std::fabs(secondsOfDay(rows[i].at(column)) - time) <= 3.0;
        }
    }
    EXPECT_EQ(found, 10) << run.out;
    EXPECT_GE(near, 11) << run.out;
    EXPECT_EQ(near, seen) << run.out;
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.find("Zegarek"), std::string::npos) << run.out;
}

TEST(CliPoints, AWatchSevenSecondsEarlyShiftsEveryPointWithASeenEnd) {
    const TempFolder folder;
    const CliRun run = runCli({"points", "--grid", "none", "--shift", "0:00:00",
                               folder.write("stops.txt", timeFile(truthStops(), -7)), kRover});
    const auto rows = tableRows(run.out);
    ASSERT_EQ(rows.size(), 10u) << run.out;
    int shifted = 0;
    for (const auto& row : rows)
        if (!row.at("stop_offset_s").empty() || !row.at("go_offset_s").empty()) {
            EXPECT_EQ(row.at("state"), "przesunięty") << row.at("point");
            ++shifted;
        }
    EXPECT_GE(shifted, 7) << run.out;
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\nZegarek: postoje w danych zaczynają się i kończą średnio o 7.0 s "
                           "później niż czasy z tabeli. Sprawdź przesunięcie zegarka.\n"),
              std::string::npos)
        << run.out;
}

bool rnx2rtkpInstalled() { return std::system("command -v rnx2rtkp > /dev/null 2>&1") == 0; }

TEST(CliPoints, TheStaticHourThroughRnx2rtkpAveragesToTheStaticSolution) {
    if (!rnx2rtkpInstalled()) GTEST_SKIP() << "rnx2rtkp (Debian's rtklib) is not installed";
    const TempFolder folder;
    for (const char* name : {"rtk_07590920.05o", "rtk_07590920.05n", "rtk_30400920.05o"})
        std::filesystem::copy_file(kData + "/" + name, folder.file(name));
    const std::string times =
        "S1 0:00:00 0:10:00\nS2 0:12:00 0:22:00\nS3 0:24:00 0:34:00\nS4 0:36:00 0:46:00\n";
    const CliRun run =
        runCli({"points", "--csv", "points.csv", "--base", "rtk_30400920.05o", "--nav",
                "rtk_07590920.05n", folder.write("times.txt", times), "rtk_07590920.05o"},
               folder.path());
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(std::filesystem::exists(folder.file("rtk_07590920.marvolt.pos")));
    // The points lie in Japan, outside the Polish grid.
    EXPECT_NE(run.out.find("Punkt S3 leży poza obszarem układu PL-2000; pominąłem jego "
                           "współrzędne płaskie.\n"),
              std::string::npos)
        << run.out;
    const auto rows = tableRows(run.out);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    const double metresPerDegree = 111320.0;
    for (const auto& row : rows) {
        EXPECT_EQ(row.at("state"), "OK");
        const double north = (std::stod(row.at("lat")) - 35.160875024) * metresPerDegree;
        const double east = (std::stod(row.at("lon")) - 139.613838565) * metresPerDegree *
                            std::cos(35.160875 * 3.14159265358979 / 180.0);
        EXPECT_LT(std::hypot(north, east), 0.02) << row.at("point");
        EXPECT_LT(std::fabs(std::stod(row.at("h")) - 70.2797), 0.04) << row.at("point");
        EXPECT_EQ(row.at("x"), "");
    }
    const std::string csv = readBytes(folder.file("points.csv"));
    EXPECT_EQ(
        csv.rfind("point,lat,lon,h,x,y,sd_n,sd_e,sd_u,epochs_used,epochs_window,fix_share,"
                  "stop_watch,go_watch,stop_data,go_data,stop_offset_s,go_offset_s,state\nS1,",
                  0),
        0u)
        << csv;
}

TEST(CliPoints, CsvQuotesNamesAndLeavesEmptyWhatANonOccupationLacks) {
    MARVOLT_NOT_ON_WINDOWS("its grid columns need PROJ, not built for Windows");
    const TempFolder folder;
    // The Windows-1250 name "Ł,1"; R2 lies where the drive has no solution. With a trim of 5 s
    // the window of Ł,1 keeps 30 of its 35 epochs (06:07:57 to 06:08:46).
    const std::string times = "\xA3,1 6:07:51 6:08:51\nR2 7:00:00 7:01:00\n";
    const CliRun run = runCli({"points", "--grid", "pl1992", "--trim", "5", "--csv", "out.csv",
                               "--shift", "0:00:00", folder.write("times.txt", times), kRover},
                              folder.path());
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    const std::vector<std::string> lines = split(readBytes(folder.file("out.csv")), '\n');
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[1].rfind("\"Ł,1\",35.15892", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(",30,35,0.000,2023-07-11T06:07:51.0,2023-07-11T06:08:51.0,"
                            "2023-07-11T06:07:51.0,,+0.0,,OK"),
              std::string::npos)
        << lines[1];
    EXPECT_EQ(lines[2],
              "R2,,,,,,,,,,0,,2023-07-11T07:00:00.0,2023-07-11T07:01:00.0,,,,,brak danych");
}

TEST(CliPoints, BadUsageNamesTheProblem) {
    const struct {
        std::vector<std::string> arguments;
        std::string problem;
    } rows[] = {
        {{"points", "--grid", "utm", "t", "r", "s"},
         "--grid takes pl2000, pl1992 or none, not 'utm'"},
        {{"points", "--shift", "1:2:3", "t", "s"}, "--shift takes [-]H:MM:SS, not '1:2:3'"},
        {{"points", "--trim", "-1", "t", "r", "s"}, "--trim takes seconds (0 or more), not '-1'"},
        {{"points", "--base", "b", "t", "r"},
         "points takes --base together with at least one --nav"},
        {{"points", "--shift", "0:00:00", "t", "r", "s"},
         "points --shift takes TIMEFILE SOLUTIONFILE"},
        {{"points", "t", "r"}, "points takes TIMEFILE RINEXFILE SOLUTIONFILE"},
        {{"points", "t", "r", "s", "--csv"}, "--csv needs a value"},
    };
    for (const auto& row : rows) {
        const CliRun run = runCli(row.arguments);
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.err.rfind("marvolt-cli: " + row.problem + "\n", 0), 0u) << run.err;
    }
}

}  // namespace
}  // namespace marvolt::testing
