// The track as the points dialog draws it: places on the local plane and horizontal speeds.

#include "track_profile.h"

#include <gtest/gtest.h>

#include "generated_drive.h"

namespace marvolt {
namespace {

// A drive east at 5 m/s with a stop and a gap: the speed from the positions, or from the
// velocity where the track carries one; none across the gap.
TEST(TrackProfile, SpeedFromPositionsOrVelocityAndNoneAcrossAGap) {
    testing::DriveShape shape;
    shape.stops = {{100.0, 200.0}};
    shape.gaps = {{300.0, 320.0}};
    shape.noise = 0.001;
    for (const bool velocity : {false, true}) {
        shape.withVelocity = velocity;
        const std::vector<SolutionEpoch> track = testing::generatedDrive(shape);
        const SolutionEpoch& first = track.front();
        const std::vector<TrackSample> samples =
            trackProfile(track, LocalPlane({first.x, first.y, first.z}), 4.0);
        ASSERT_EQ(samples.size(), track.size());
        const auto at = [&](double time) {
            for (const TrackSample& s : samples)
                if (s.time == time) return s;
            ADD_FAILURE() << "no epoch at " << time;
            return TrackSample{};
        };
        EXPECT_NEAR(at(50).speed, 5.0, 0.1) << velocity;
        EXPECT_NEAR(at(150).speed, 0.0, 0.1) << velocity;
        EXPECT_NEAR(at(50).east, 250.0, 0.1);
        EXPECT_NEAR(at(50).north, 0.0, 0.01);
        EXPECT_NEAR(at(320).speed, velocity ? 5.0 : 0.0, 0.1) << velocity;  // after the gap
    }
}

}  // namespace
}  // namespace marvolt
