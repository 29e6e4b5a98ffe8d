#include "survey_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "occupation.h"

namespace marvolt {

namespace {

constexpr double kAgreement = 2.0;  // s: how close a point's ends must lie to the median
constexpr int kLeastAgreeing = 3;

PointResult surveyPoint(const std::vector<SolutionEpoch>& epochs, const WatchWindow& window,
                        const SearchRange& range, double trim, double tolerance,
                        double longestStep) {
    PointResult point;
    point.window = window;
    const std::vector<bool> standing = standingEpochs(epochs, tolerance);
    const Occupation occupation =
        findOccupation(epochs, standing, window, range, tolerance, longestStep);
    point.epochsWindow = occupation.windowEpochs;
    point.epochsStanding = occupation.standingInWindow;
    if (point.epochsWindow == 0) return point;
    int fixed = 0;
    for (const SolutionEpoch& epoch : epochs)
        if (epoch.time >= window.stop && epoch.time <= window.go &&
            epoch.quality == SolutionQuality::Fix)
            ++fixed;
    point.fixShare = static_cast<double>(fixed) / point.epochsWindow;
    if (2 * occupation.standingInWindow < point.epochsWindow) {
        point.state = PointState::Moving;
        return point;
    }
    point.stopData = occupation.start;
    point.goData = occupation.end;
    const auto shifted = [&](const std::optional<double>& offset) {
        return offset && std::fabs(*offset) > tolerance;
    };
    point.state = shifted(point.stopOffset()) || shifted(point.goOffset()) ? PointState::Shifted
                                                                           : PointState::Ok;
    if (occupation.found)
        point.coordinate = averagePoint(epochs, occupation.first, occupation.last,
                                        window.stop + trim, window.go - trim);
    return point;
}

}  // namespace

std::string stateText(PointState state) {
    switch (state) {
        case PointState::NoData:
            return "brak danych";
        case PointState::Moving:
            return "ruch";
        case PointState::Shifted:
            return "przesunięty";
        default:
            return "OK";
    }
}

std::optional<double> PointResult::stopOffset() const {
    if (!stopData) return std::nullopt;
    return *stopData - window.stop;
}

std::optional<double> PointResult::goOffset() const {
    if (!goData) return std::nullopt;
    return *goData - window.go;
}

std::vector<PointResult> surveyPoints(const EpochCollector& collector, double trim) {
    std::vector<PointResult> points;
    for (std::size_t i = 0; i < collector.windows().size(); ++i)
        points.push_back(surveyPoint(collector.epochsOf(i), collector.windows()[i],
                                     collector.ranges()[i], trim, collector.tolerance(),
                                     collector.longestStep()));
    return points;
}

std::optional<double> watchOffset(const std::vector<PointResult>& points, double tolerance) {
    std::vector<double> offsets;
    for (const PointResult& point : points)
        for (const auto& offset : {point.stopOffset(), point.goOffset()})
            if (offset) offsets.push_back(*offset);
    if (offsets.empty()) return std::nullopt;
    std::sort(offsets.begin(), offsets.end());
    const std::size_t middle = offsets.size() / 2;
    const double median =
        offsets.size() % 2 ? offsets[middle] : (offsets[middle - 1] + offsets[middle]) / 2.0;
    if (std::fabs(median) <= tolerance) return std::nullopt;
    int agreeing = 0;
    for (const PointResult& point : points) {
        const auto stop = point.stopOffset(), go = point.goOffset();
        if (!stop && !go) continue;
        const auto near = [&](const std::optional<double>& offset) {
            return !offset || std::fabs(*offset - median) <= kAgreement;
        };
        if (near(stop) && near(go)) ++agreeing;
    }
    if (agreeing < kLeastAgreeing) return std::nullopt;
    return median;
}

std::string watchOffsetLine(double offset) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", std::fabs(offset));
    return std::string("Zegarek: postoje w danych zaczynają się i kończą średnio o ") + seconds +
           " s " + (offset < 0 ? "wcześniej" : "później") +
           " niż czasy z tabeli. Sprawdź przesunięcie zegarka.";
}

}  // namespace marvolt
