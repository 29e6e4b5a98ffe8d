#include "rinex_oracle.h"

namespace marvolt::oracle {

FirstObservation findFirstObservation(const WholeFileLines& lines, double& observationDate) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (isFirstObservationRecord(lines[i]))
            return {true, readFirstObservation(lines[i], observationDate)};
    return {};
}

std::vector<LineRange> insertedEventBlocks(const WholeFileLines& lines, const EpochLayout& layout) {
    InsertedBlockFinder finder(layout);
    for (std::size_t i = 0; i < lines.size(); ++i) finder.add(i, lines[i]);
    return finder.finish(lines.size());
}

bool isDataEpoch(const EpochLayout& layout, const WholeFileLines& lines, std::size_t i) {
    return layout.isDataEpoch(lines[i], i + 1 < lines.size() ? lines[i + 1] : std::string_view());
}

std::string datePiece(double observationDate) {
    return EpochLayout::rinex2().datePiece(observationDate);
}

bool lineMatches(std::string_view line, std::string_view key) {
    return EpochLayout::rinex2().lineMatches(line, key);
}

bool isDataEpoch(std::string_view line) { return EpochLayout::rinex2().isDataEpoch(line, {}); }

}  // namespace marvolt::oracle
