#include "epoch_collector.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace marvolt {

std::vector<SearchRange> searchRanges(const std::vector<WatchWindow>& windows) {
    std::vector<SearchRange> ranges(windows.size());
    for (std::size_t i = 1; i < windows.size(); ++i) {
        const double half = std::max(0.0, (windows[i].stop - windows[i - 1].go) / 2.0);
        ranges[i].stopMargin = std::min(kEndMargin, half);
        ranges[i - 1].goMargin = std::min(kEndMargin, half);
    }
    return ranges;
}

EpochCollector::EpochCollector(std::vector<WatchWindow> windows, double trackSpacing)
    : windows_(std::move(windows)),
      ranges_(searchRanges(windows_)),
      epochs_(windows_.size()),
      trackSpacing_(trackSpacing) {
    // A GO written before its STOP may put a range's start out of STOP order.
    order_.resize(windows_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    const auto start = [&](std::size_t i) { return windows_[i].stop - ranges_[i].stopMargin; };
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::size_t a, std::size_t b) { return start(a) < start(b); });
    double reach = -1e300;
    for (std::size_t i : order_) {
        from_.push_back(start(i));
        reach = std::max(reach, end(i));
        reachUpTo_.push_back(reach);
    }
}

void EpochCollector::add(const SolutionEpoch& epoch) {
    if (count_ == 0) first_ = epoch.time;
    if (count_ > 0 && steps_.size() < kIntervalSteps && epoch.time > last_)
        steps_.push_back(epoch.time - last_);
    ++count_;
    last_ = epoch.time;

    // The points whose range starts at or before the epoch, latest first, while any of them
    // may still reach it.
    auto i = static_cast<std::size_t>(std::upper_bound(from_.begin(), from_.end(), epoch.time) -
                                      from_.begin());
    while (i > 0 && reachUpTo_[i - 1] >= epoch.time) {
        const std::size_t point = order_[--i];
        if (end(point) >= epoch.time) epochs_[point].push_back(epoch);
    }
    if (track_.empty() || std::abs(epoch.time - track_.back().time) >= trackSpacing_ - 1e-6)
        track_.push_back(epoch);
}

void EpochCollector::finish() {
    for (auto& epochs : epochs_)
        std::stable_sort(
            epochs.begin(), epochs.end(),
            [](const SolutionEpoch& a, const SolutionEpoch& b) { return a.time < b.time; });
}

double EpochCollector::end(std::size_t point) const {
    return std::max(windows_[point].stop, windows_[point].go) + ranges_[point].goMargin;
}

double EpochCollector::interval() const {
    if (steps_.empty()) return 1.0;
    std::vector<double> steps = steps_;
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

double EpochCollector::tolerance() const { return std::max(3.0, 1.5 * interval()); }

}  // namespace marvolt
