// The epoch index of any file finds, for every line's first 18 bytes taken as a key,
// exactly the data epochs a plain scan of every line finds.

#include "epoch_key.h"
#include "fuzz_input.h"
#include "line_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const LineList lines = LineList::fromBytes(fuzz::textOf(data, size));
    const EpochIndex index(lines);
    constexpr std::size_t kMostKeys = 64;
    for (std::size_t k = 0; k < lines.size() && k < kMostKeys; ++k) {
        if (lines[k].size() < kEpochKeyLength) continue;
        const std::string_view key = lines[k].substr(0, kEpochKeyLength);
        std::vector<std::size_t> scanned;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lineMatches(lines[i], key) && isDataEpoch(lines[i])) scanned.push_back(i);
        fuzz::require(index.linesMatching(key) == scanned, "the index finds what a scan finds");
    }
    return 0;
}
