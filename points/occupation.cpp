#include "occupation.h"

#include <algorithm>
#include <cmath>

#include "ecef.h"

namespace marvolt {

namespace {

constexpr double kStepSpan = 1.0;         // s: positions compared at least this far apart
constexpr double kMostNoiseSpeed = 0.25;  // m/s: the most the thresholds are raised by
constexpr double kLeastMove = 0.5;        // m: a shift across a gap that breaks a stop

// The horizontal standard deviation of an epoch: its own, or what its quality usually has.
double horizontalSd(const SolutionEpoch& epoch) {
    if (epoch.sd) return std::hypot(epoch.sd->e, epoch.sd->n);
    switch (epoch.quality) {
        case SolutionQuality::Fix:
            return 0.02;
        case SolutionQuality::Float:
            return 0.3;
        default:
            return 1.0;
    }
}

double horizontalDistance(const SolutionEpoch& a, const SolutionEpoch& b) {
    const Geodetic at = toGeodetic({a.x, a.y, a.z});
    const Enu d = toEnu(enuAxes(at.latitude, at.longitude), {b.x - a.x, b.y - a.y, b.z - a.z});
    return std::hypot(d.e, d.n);
}

bool hasVelocity(const std::vector<SolutionEpoch>& epochs) {
    return std::any_of(epochs.begin(), epochs.end(), [](const SolutionEpoch& epoch) {
        return epoch.velocity && (epoch.velocity->e != 0.0 || epoch.velocity->n != 0.0);
    });
}

// Speed over the step from epoch a to b and how much noise may add to it; none for a step
// too long to say anything about the moment.
struct StepSpeed {
    double speed = 0.0;
    double noise = 0.0;
};
std::optional<StepSpeed> stepSpeed(const SolutionEpoch& a, const SolutionEpoch& b,
                                   double tolerance) {
    const double dt = std::fabs(b.time - a.time);
    if (dt <= 0.0 || dt > tolerance) return std::nullopt;
    return StepSpeed{
        horizontalDistance(a, b) / dt,
        std::min(kMostNoiseSpeed, 2.0 * std::hypot(horizontalSd(a), horizontalSd(b)) / dt)};
}

// The calmer of the steps of at least kStepSpan before and after epoch i.
std::optional<StepSpeed> positionSpeed(const std::vector<SolutionEpoch>& epochs, std::size_t i,
                                       double tolerance) {
    std::optional<StepSpeed> best;
    const auto consider = [&](const std::optional<StepSpeed>& step) {
        if (step && (!best || step->speed - step->noise < best->speed - best->noise)) best = step;
    };
    for (std::size_t j = i + 1; j < epochs.size(); ++j)
        if (epochs[j].time - epochs[i].time >= kStepSpan - 1e-6) {
            consider(stepSpeed(epochs[i], epochs[j], tolerance));
            break;
        }
    for (std::size_t j = i; j-- > 0;)
        if (epochs[i].time - epochs[j].time >= kStepSpan - 1e-6) {
            consider(stepSpeed(epochs[j], epochs[i], tolerance));
            break;
        }
    return best;
}

}  // namespace

std::vector<bool> standingEpochs(const std::vector<SolutionEpoch>& epochs, double tolerance) {
    const bool velocity = hasVelocity(epochs);
    std::vector<bool> standing(epochs.size(), false);
    bool still = false;
    for (std::size_t i = 0; i < epochs.size(); ++i) {
        StepSpeed step;
        if (velocity) {
            if (epochs[i].velocity)
                step.speed = std::hypot(epochs[i].velocity->e, epochs[i].velocity->n);
        } else if (const auto found = positionSpeed(epochs, i, tolerance)) {
            step = *found;
        } else {
            standing[i] = still;  // no step to judge by: as before
            continue;
        }
        if (step.speed < kRestSpeed + step.noise)
            still = true;
        else if (step.speed > kMoveSpeed + step.noise)
            still = false;
        else if (i == 0 || epochs[i].time - epochs[i - 1].time > tolerance)
            still = false;  // after a gap, between the thresholds says nothing of rest
        standing[i] = still;
    }
    // A lone moving epoch amid a stop is a jump of the solution however far its neighbours
    // lie; a lone standing one amid motion only when they are near.
    for (std::size_t i = 1; i + 1 < epochs.size(); ++i)
        if (standing[i - 1] == standing[i + 1] && standing[i] != standing[i - 1] &&
            (standing[i - 1] || epochs[i + 1].time - epochs[i - 1].time <= 2.0 * tolerance))
            standing[i] = standing[i - 1];
    return standing;
}

Occupation findOccupation(const std::vector<SolutionEpoch>& epochs,
                          const std::vector<bool>& standing, const WatchWindow& window,
                          const SearchRange& range, double tolerance, double longestStep) {
    Occupation occupation;
    // A float solution may jump by metres while its velocity stays calm: the positions split
    // a stop only where there is no velocity to go by.
    const bool byPositions = !hasVelocity(epochs);
    const auto inWindow = [&](std::size_t i) {
        return epochs[i].time >= window.stop && epochs[i].time <= window.go;
    };
    int bestCount = 0;
    for (std::size_t i = 0; i < epochs.size(); ++i) {
        if (inWindow(i)) {
            ++occupation.windowEpochs;
            if (standing[i]) ++occupation.standingInWindow;
        }
        if (!standing[i]) continue;
        // A run of standing epochs from i, broken where the antenna moved across a gap.
        std::size_t last = i;
        int count = inWindow(i) ? 1 : 0;
        while (last + 1 < epochs.size() && standing[last + 1]) {
            const SolutionEpoch& a = epochs[last];
            const SolutionEpoch& b = epochs[last + 1];
            if (byPositions && b.time - a.time > tolerance &&
                horizontalDistance(a, b) >
                    std::max(kLeastMove, 3.0 * std::hypot(horizontalSd(a), horizontalSd(b))))
                break;
            ++last;
            if (inWindow(last)) {
                ++count;
                ++occupation.windowEpochs;
                if (standing[last]) ++occupation.standingInWindow;
            }
        }
        if (count > bestCount) {
            bestCount = count;
            occupation.found = true;
            occupation.first = i;
            occupation.last = last;
        }
        i = last;
    }
    if (!occupation.found) return occupation;

    const double start = epochs[occupation.first].time;
    if (occupation.first > 0 && start - epochs[occupation.first - 1].time <= longestStep &&
        std::fabs(start - window.stop) <= range.stopMargin)
        occupation.start = start;
    const double end = epochs[occupation.last].time;
    if (occupation.last + 1 < epochs.size() &&
        epochs[occupation.last + 1].time - end <= longestStep &&
        std::fabs(end - window.go) <= range.goMargin)
        occupation.end = end;
    return occupation;
}

}  // namespace marvolt
