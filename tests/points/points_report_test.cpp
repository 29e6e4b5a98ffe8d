// The values of a point as the CSV and the printed table write them.

#include "points_report.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace marvolt::testing {
namespace {

// 2023-07-11 06:07:51 GPST as GPS seconds.
constexpr double kStop = 2270.0 * 604800.0 + 2.0 * 86400.0 + 6 * 3600 + 7 * 60 + 51;

PointResult occupied() {
    PointResult point;
    point.window = {
        "\xA3\xF3"
        "d\x9F",
        kStop, kStop + 60.0};  // "Łódź" in Windows-1250
    point.epochsWindow = 61;
    point.fixShare = 2.0 / 3.0;
    point.stopData = kStop + 0.04;
    point.goData = kStop + 52.96;
    point.coordinate.lat = 52.123456789444;
    point.coordinate.lon = 21.5;
    point.coordinate.h = 101.23456;
    point.coordinate.sdN = 0.01;
    point.coordinate.sdE = 0.00004;
    point.coordinate.sdU = 0.1;
    point.coordinate.epochsUsed = 40;
    point.grid = GridPoint{5762899.77244, 7500000.0};
    point.state = PointState::Shifted;
    return point;
}

TEST(PointsReport, ValuesAsTheCsvWritesThem) {
    EXPECT_EQ(pointValues(occupied()),
              (std::vector<std::string>{"Łódź", "52.123456789", "21.500000000", "101.2346",
                                        "5762899.7724", "7500000.0000", "0.0100", "0.0000",
                                        "0.1000", "40", "61", "0.667", "2023-07-11T06:07:51.0",
                                        "2023-07-11T06:08:51.0", "2023-07-11T06:07:51.0",
                                        "2023-07-11T06:08:44.0", "+0.0", "-7.0", "przesunięty"}));
    PointResult moving = occupied();
    moving.state = PointState::Moving;
    EXPECT_EQ(pointValues(moving),
              (std::vector<std::string>{"Łódź", "", "", "", "", "", "", "", "", "", "61", "0.667",
                                        "2023-07-11T06:07:51.0", "2023-07-11T06:08:51.0", "", "",
                                        "", "", "ruch"}));
}

TEST(PointsReport, CsvFieldsQuotedOnlyWhenTheyMustBe) {
    const std::pair<std::string, std::string> rows[] = {
        {"P1", "P1"}, {"A,B", "\"A,B\""}, {"Q\"2", "\"Q\"\"2\""}, {"", ""}, {"a b", "a b"}};
    for (const auto& [value, field] : rows) EXPECT_EQ(csvField(value), field);
}

TEST(PointsReport, FileAndTableShowTheSameValues) {
    PointResult comma = occupied();
    comma.window.name = "A,1";
    comma.grid.reset();
    const TempFolder folder;
    const std::string path = folder.file("points.csv");
    writePointsCsv(path, {comma});
    const std::string row =
        "52.123456789,21.500000000,101.2346,,,0.0100,0.0000,0.1000,40,61,0.667,"
        "2023-07-11T06:07:51.0,2023-07-11T06:08:51.0,2023-07-11T06:07:51.0,"
        "2023-07-11T06:08:44.0,+0.0,-7.0,przesunięty";
    EXPECT_EQ(readBytes(path),
              "point,lat,lon,h,x,y,sd_n,sd_e,sd_u,epochs_used,epochs_window,fix_share,stop_watch,"
              "go_watch,stop_data,go_data,stop_offset_s,go_offset_s,state\n\"A,1\"," +
                  row + "\n");
    std::string tabbed = row;
    for (char& c : tabbed)
        if (c == ',') c = '\t';
    EXPECT_EQ(pointsTable({comma}, false),
              "point\tlat\tlon\th\tsd_n\tsd_e\tsd_u\tepochs_used\tepochs_window\tfix_share\t"
              "stop_watch\tgo_watch\tstop_data\tgo_data\tstop_offset_s\tgo_offset_s\tstate\n"
              "\"A,1\"\t" +
                  tabbed.replace(tabbed.find("\t\t\t"), 3, "\t") + "\n");
}

}  // namespace
}  // namespace marvolt::testing
