#include "epoch_key.h"

#include <algorithm>
#include <optional>

#include "date_time_pattern.h"
#include "rinex_version.h"

namespace marvolt {

namespace {

// Lines are added in order, so a stable sort keeps each code's lines ascending.
void sortEpochs(std::vector<std::pair<std::uint64_t, std::size_t>>& epochs) {
    std::stable_sort(epochs.begin(), epochs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace

std::string datePiece(double observationDate) {
    return EpochLayout::rinex2().datePiece(observationDate);
}

std::string epochKey(const std::string& datePiece, double time) {
    const LocaleSettings locale;
    std::string seconds = formatDateTime("s", time, locale);
    if (seconds.size() == 1) seconds.insert(0, 1, ' ');
    return datePiece + formatDateTime("HH MM ", time, locale) + seconds;
}

bool lineMatches(std::string_view line, std::string_view key) {
    return EpochLayout::rinex2().lineMatches(line, key);
}

bool isDataEpoch(std::string_view line) { return EpochLayout::rinex2().isDataEpoch(line, {}); }

EpochIndex::EpochIndex(const LineList& lines, const EpochLayout& layout)
    : lines_(lines), layout_(layout) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (layout.isDataEpoch(lines, i))
            if (const auto code = layout.epochCode(lines[i])) epochs_.emplace_back(*code, i);
    sortEpochs(epochs_);
}

EpochIndex EpochIndex::readFile(const std::string& path, LineList& lines) {
    const EpochLayout* layout = &EpochLayout::rinex2();
    std::vector<Epoch> epochs;
    // A version 3 record flagged 2 or 3 waits for the next line to tell whether it is a
    // data epoch: its code, or nothing.
    std::optional<Epoch> waiting;
    lines = readLines(path, [&](std::size_t line, std::string_view text) {
        if (line == 0) layout = &layoutOfFile(text, path);
        if (waiting && EpochLayout::isSatelliteLine(text)) epochs.push_back(*waiting);
        waiting.reset();
        const EpochLayout::Standing standing = layout->standing(text);
        if (standing == EpochLayout::Standing::NoDataEpoch) return;
        const auto code = layout->epochCode(text);
        if (!code) return;
        if (standing == EpochLayout::Standing::DataEpoch)
            epochs.emplace_back(*code, line);
        else
            waiting = Epoch(*code, line);
    });
    sortEpochs(epochs);
    return EpochIndex(lines, *layout, std::move(epochs));
}

EpochIndex::EpochIndex(const LineList& lines, const EpochLayout& layout, std::vector<Epoch> epochs)
    : lines_(lines), layout_(layout), epochs_(std::move(epochs)) {}

std::vector<std::size_t> EpochIndex::linesMatching(std::string_view key) const {
    std::vector<std::size_t> result;
    const auto code = key.size() == layout_.keyLength() ? layout_.epochCode(key) : std::nullopt;
    if (!code) {
        // A key not shaped like an epoch line can only match lines outside the index.
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (layout_.lineMatches(lines_[i], key) && layout_.isDataEpoch(lines_, i))
                result.push_back(i);
        return result;
    }
    const auto range =
        std::equal_range(epochs_.begin(), epochs_.end(), std::make_pair(*code, std::size_t{0}),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = range.first; it != range.second; ++it) result.push_back(it->second);
    return result;
}

}  // namespace marvolt
