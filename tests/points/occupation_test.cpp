// The occupation a made-up drive shows against watch windows: where its ends are seen, and
// when they are not.

#include "occupation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "generated_drive.h"
#include "survey_check.h"

namespace marvolt::testing {
namespace {

using Offset = std::optional<double>;

struct Row {
    const char* what;
    DriveShape drive;
    double stop, go;  // the watch window
    Offset stopOffset, goOffset;
    std::optional<double> jumpAt;  // one epoch thrown 5 m off, with a 50 m/s velocity
};

DriveShape drive(std::vector<std::pair<double, double>> stops) {
    DriveShape shape;
    shape.stops = std::move(stops);
    return shape;
}

DriveShape with(DriveShape shape, void (*change)(DriveShape&)) {
    change(shape);
    return shape;
}

TEST(Occupation, EndsSeenAgainstTheWatch) {
    const Offset none;
    const std::vector<Row> rows = {
        {"velocity, watch right", drive({{200, 260}}), 200, 260, 0.0, 0.0, {}},
        {"watch 7 s early", drive({{200, 260}}), 193, 253, 7.0, 7.0, {}},
        {"watch 4 s late at the stop", drive({{200, 260}}), 204, 260, -4.0, 0.0, {}},
        {"positions only",
         with(drive({{200, 260}}), [](DriveShape& s) { s.withVelocity = false; }),
         205,
         255,
         -5.0,
         5.0,
         {}},
        {"positions, 10 Hz, 2 cm noise",
         with(drive({{200, 260}}),
              [](DriveShape& s) {
                  s.withVelocity = false, s.interval = 0.1, s.noise = 0.02, s.end = 400;
              }),
         200,
         260,
         0.0,
         0.0,
         {}},
        {"velocity, 10 Hz",
         with(drive({{200, 260}}), [](DriveShape& s) { s.interval = 0.1; }),
         201,
         259,
         -1.0,
         1.0,
         {}},
        {"gap across the start",
         with(drive({{200, 260}}),
              [](DriveShape& s) {
                  s.gaps = {{195, 206}};
              }),
         200,
         260,
         none,
         0.0,
         {}},
        {"gap of 3 s across the end still sees it",
         with(drive({{200, 260}}),
              [](DriveShape& s) {
                  s.gaps = {{259, 263}};
              }),
         200,
         260,
         0.0,
         -1.0,
         {}},
        {"standing through the whole margin", drive({{100, 260}}), 200, 260, none, 0.0, {}},
        {"start of the file in the stop",
         with(drive({{150, 260}}), [](DriveShape& s) { s.start = 190; }),
         200,
         260,
         none,
         0.0,
         {}},
        {"margin without solution",
         with(drive({{200, 260}}),
              [](DriveShape& s) {
                  s.gaps = {{130, 230}};
              }),
         200,
         260,
         none,
         0.0,
         {}},
        {"one jump of the solution in the stop", drive({{200, 260}}), 200, 260, 0.0, 0.0, 230.0},
        {"one jump at the epoch after the stop ends", drive({{200, 260}}), 200, 260, 0.0, 0.0,
         255.0},
    };
    for (const Row& row : rows) {
        std::vector<SolutionEpoch> epochs = generatedDrive(row.drive);
        for (SolutionEpoch& epoch : epochs)
            if (row.jumpAt && epoch.time == *row.jumpAt) {
                epoch.x += 5.0;
                epoch.velocity = Enu{50.0, 0.0, 0.0};
            }
        EpochCollector collector({{"P1", row.stop, row.go}});
        for (const SolutionEpoch& epoch : epochs) collector.add(epoch);
        collector.finish();
        const PointResult point = surveyPoints(collector, kDefaultTrim).front();
        const auto near = [](const Offset& got, const Offset& want) {
            return got.has_value() == want.has_value() && (!got || std::fabs(*got - *want) < 1e-6);
        };
        EXPECT_TRUE(near(point.stopOffset(), row.stopOffset))
            << row.what << ": stop offset " << point.stopOffset().value_or(-999);
        EXPECT_TRUE(near(point.goOffset(), row.goOffset))
            << row.what << ": go offset " << point.goOffset().value_or(-999);
        EXPECT_EQ(point.coordinate.epochsUsed > 0, true) << row.what;
    }
}

// Positions that jump about while the velocity is calm, as a float solution does, and a
// velocity that is zero throughout, which is no velocity.
TEST(Occupation, StandingFlagsFromVelocityOrPositions) {
    DriveShape shape = drive({{20, 40}});
    shape.end = 60;
    std::vector<SolutionEpoch> floatJumps = generatedDrive(shape);
    for (std::size_t i = 22; i < 38; i += 4) floatJumps[i].x += 3.0;
    std::vector<SolutionEpoch> zeroVelocity = generatedDrive(shape);
    for (SolutionEpoch& epoch : zeroVelocity) epoch.velocity = Enu{};

    for (const auto* epochs : {&floatJumps, &zeroVelocity}) {
        const std::vector<bool> standing = standingEpochs(*epochs, 3.0);
        for (std::size_t i = 0; i < epochs->size(); ++i) {
            const double t = (*epochs)[i].time;
            EXPECT_EQ(standing[i], t >= 20 && t <= 40) << "epoch at " << t;
        }
    }
}

}  // namespace
}  // namespace marvolt::testing

namespace marvolt::testing {
namespace {

// A 10 Hz hour keeps only what lies within each point's margins, and a track of one epoch a
// second: margins of 60 s, or half the gap between two windows.
TEST(EpochCollector, KeepsTheMarginsOfEachPointAndAThinnedTrack) {
    EpochCollector collector({{"A", 1000, 1100}, {"B", 1140, 1200}, {"C", 3000, 3010}});
    SolutionEpoch epoch;
    for (int tenth = 0; tenth < 36000; ++tenth) {
        epoch.time = tenth / 10.0;
        collector.add(epoch);
    }
    collector.finish();
    const struct {
        std::size_t point;
        double first, last;
    } rows[] = {{0, 940.0, 1120.0}, {1, 1120.0, 1260.0}, {2, 2940.0, 3070.0}};
    for (const auto& row : rows) {
        const auto& epochs = collector.epochsOf(row.point);
        ASSERT_FALSE(epochs.empty());
        EXPECT_DOUBLE_EQ(epochs.front().time, row.first) << row.point;
        EXPECT_DOUBLE_EQ(epochs.back().time, row.last) << row.point;
        EXPECT_EQ(epochs.size(), static_cast<std::size_t>((row.last - row.first) * 10 + 1));
    }
    EXPECT_EQ(collector.track().size(), 3600u);
    EXPECT_NEAR(collector.interval(), 0.1, 1e-9);
    EXPECT_DOUBLE_EQ(collector.tolerance(), 3.0);
}

}  // namespace
}  // namespace marvolt::testing
