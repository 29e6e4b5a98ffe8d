#include "points_job.h"

#include <limits>

#include "failure.h"
#include "services.h"

namespace marvolt {

namespace {

// The services of a computation off the window's thread: its messages are kept to be shown
// when it has ended.
class KeptMessages : public Services {
  public:
    explicit KeptMessages(std::vector<std::string>& messages) : messages_(messages) {}
    void message(const std::string& text) override { messages_.push_back(text); }
    void errorBox(const std::string& text) override { messages_.push_back(text); }
    void busyCursor() override {}
    void normalCursor() override {}

  private:
    std::vector<std::string>& messages_;
};

void profile(PointsOutcome& outcome) {
    const EpochCollector& collector = *outcome.collected;
    if (collector.track().empty()) return;
    const SolutionEpoch& first = collector.track().front();
    const LocalPlane plane({first.x, first.y, first.z});
    outcome.track = trackProfile(collector.track(), plane, collector.longestStep());
    for (const PointResult& point : outcome.points.points) {
        const PointCoordinate& c = point.coordinate;
        TrackSample place;
        place.east = place.north = std::numeric_limits<double>::quiet_NaN();
        if (c.epochsUsed > 0)
            place = plane.place(
                toEcef(Geodetic{c.lat * kRadiansPerDegree, c.lon * kRadiansPerDegree, c.h}));
        outcome.placed.push_back(place);
    }
}

}  // namespace

PointsOutcome runPointsJob(const PointsJob& job, const RtklibProgress& progress) {
    PointsOutcome outcome;
    KeptMessages services(outcome.messages);
    try {
        outcome.collected = job.collected;
        if (!outcome.collected) {
            outcome.solution = job.source.solution;
            if (outcome.solution.empty()) {
                outcome.solution = solutionPathFor(job.survey.rinex);
                const RtklibInputs inputs{job.survey.rinex, job.source.base, job.source.navigation};
                if (computeSolution(inputs, outcome.solution, progress) == RunOutcome::Stopped) {
                    outcome.stopped = true;
                    return outcome;
                }
            }
            outcome.collected = std::make_shared<const EpochCollector>(
                collectSurvey(outcome.solution, job.survey, services));
        }
        outcome.points = checkedPoints(*outcome.collected, job.trim, job.grid, services);
        profile(outcome);
    } catch (const Failure& failure) {
        outcome.failure = errorBoxText(failure.text());
    }
    return outcome;
}

}  // namespace marvolt
