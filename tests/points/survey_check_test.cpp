// The state of each point, its averaged coordinate, and what the offsets of a survey say of
// the watch.

#include "survey_check.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ecef.h"
#include "generated_drive.h"

namespace marvolt::testing {
namespace {

PointResult surveyed(const DriveShape& shape, double stop, double go,
                     const std::vector<SolutionEpoch>& epochs = {}) {
    EpochCollector collector({{"P1", stop, go}});
    for (const SolutionEpoch& epoch : epochs.empty() ? generatedDrive(shape) : epochs)
        collector.add(epoch);
    collector.finish();
    return surveyPoints(collector, kDefaultTrim).front();
}

TEST(SurveyCheck, StateIsTheFirstThatApplies) {
    DriveShape stop;
    stop.stops = {{200, 260}};
    DriveShape outage = stop;
    outage.gaps = {{150, 300}};
    DriveShape slow = stop;  // 5 s between epochs: a tolerance of 7.5 s
    slow.interval = 5.0;
    struct Row {
        const char* what;
        DriveShape shape;
        double stop, go;
        PointState state;
    } rows[] = {
        {"no epoch in the window", outage, 200, 260, PointState::NoData},
        {"moving through the window", stop, 300, 360, PointState::Moving},
        {"most of the window moving", stop, 100, 250, PointState::Moving},
        {"watch 7 s early", stop, 193, 253, PointState::Shifted},
        {"an end 4 s off", stop, 200, 256, PointState::Shifted},
        {"an end 3 s off", stop, 200, 257, PointState::Ok},
        {"5 s off at 5 s intervals", slow, 205, 260, PointState::Ok},
        {"watch right", stop, 200, 260, PointState::Ok},
    };
    for (const Row& row : rows)
        EXPECT_EQ(stateText(surveyed(row.shape, row.stop, row.go).state), stateText(row.state))
            << row.what;
}

// Every third epoch of the stop a float 1 m off: only the fixed ones inside both the trimmed
// watch window and the occupation count.
TEST(SurveyCheck, CoordinateFromTheBestQualityInsideWindowAndOccupation) {
    DriveShape shape;
    shape.stops = {{200, 260}};
    shape.noise = 0.0;
    std::vector<SolutionEpoch> epochs = generatedDrive(shape);
    const SolutionEpoch still = epochs[210];
    for (SolutionEpoch& epoch : epochs)
        if (static_cast<int>(epoch.time) % 3 == 0) {
            epoch.quality = SolutionQuality::Float;
            epoch.x += 1.0;
        }
    // Watch from 190: the trimmed window starts at 192, the occupation at 200.
    const PointResult point = surveyed(shape, 190, 260, epochs);
    const Geodetic truth = toGeodetic({still.x, still.y, still.z});
    EXPECT_NEAR(point.coordinate.lat, truth.latitude / kRadiansPerDegree, 1e-9);
    EXPECT_NEAR(point.coordinate.lon, truth.longitude / kRadiansPerDegree, 1e-9);
    EXPECT_NEAR(point.coordinate.h, truth.height, 1e-4);
    EXPECT_EQ(point.coordinate.epochsUsed, 39);  // 200..258 without the 20 multiples of 3
    EXPECT_EQ(point.coordinate.quality, SolutionQuality::Fix);
    EXPECT_EQ(point.epochsWindow, 71);
    EXPECT_NEAR(point.fixShare, 48.0 / 71.0, 1e-9);  // 23 multiples of 3 in 190..260
    EXPECT_LT(point.coordinate.sdN + point.coordinate.sdE + point.coordinate.sdU, 1e-4);
}

PointResult withOffsets(std::optional<double> stop, std::optional<double> go) {
    PointResult point;
    point.window = {"P", 1000.0, 1100.0};
    if (stop) point.stopData = 1000.0 + *stop;
    if (go) point.goData = 1100.0 + *go;
    return point;
}

TEST(SurveyCheck, WatchOffsetWhenThreePointsAgree) {
    const std::optional<double> none;
    struct Row {
        const char* what;
        std::vector<PointResult> points;
        std::optional<double> offset;
    } rows[] = {
        {"three agree, one end each unseen",
         {withOffsets(7, 7), withOffsets(7, none), withOffsets(none, 6), withOffsets(none, none)},
         7.0},
        {"median of an even count",
         {withOffsets(-6, -6), withOffsets(-5, -5), withOffsets(-6, -5)},
         -5.5},
        {"only two agree", {withOffsets(7, 7), withOffsets(7, 7), withOffsets(7, 1)}, none},
        {"within the tolerance", {withOffsets(3, 3), withOffsets(3, 2), withOffsets(2, 3)}, none},
        {"nothing seen", {withOffsets(none, none)}, none},
    };
    for (const Row& row : rows) {
        const auto offset = watchOffset(row.points, 3.0);
        EXPECT_EQ(offset.has_value(), row.offset.has_value()) << row.what;
        if (offset && row.offset) {
            EXPECT_DOUBLE_EQ(*offset, *row.offset) << row.what;
        }
    }
    EXPECT_EQ(watchOffsetLine(7.0),
              "Zegarek: postoje w danych zaczynają się i kończą średnio o 7.0 s później niż "
              "czasy z tabeli. Sprawdź przesunięcie zegarka.");
    EXPECT_EQ(watchOffsetLine(-5.46),
              "Zegarek: postoje w danych zaczynają się i kończą średnio o 5.5 s wcześniej niż "
              "czasy z tabeli. Sprawdź przesunięcie zegarka.");
}

}  // namespace
}  // namespace marvolt::testing
