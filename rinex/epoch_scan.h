#pragma once
// One pass over a RINEX observation file in blocks: its layout from the first line, each
// line's start, and every data epoch with its date-and-time code and where it stands. The
// analysis and the modification go through files of any size this way in little memory.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "epoch_layout.h"
#include "line_list.h"

namespace marvolt {

struct ScannedEpoch {
    std::size_t line = 0;      // counted from 0
    std::uint64_t offset = 0;  // of the line's first byte in the file
    std::uint64_t code = 0;    // EpochLayout::epochCode of the line
};

// Told of each line's text (at least its first kilobyte, which holds whatever a RINEX record
// keeps in its 80 columns) and of the file's layout; returning false ends the pass there.
using ScanLineVisitor =
    std::function<bool(std::size_t line, std::string_view text, const EpochLayout& layout)>;
// Told of each data epoch, in file order. A version 3 record flagged 2 or 3 is told of once
// the line after it shows it is a data epoch.
using ScanEpochVisitor = std::function<void(const ScannedEpoch& epoch)>;

struct ScanOutcome {
    const EpochLayout* layout = &EpochLayout::rinex2();
    bool complete = false;         // the pass went to the end of the file
    std::size_t lines = 0;         // (when complete) how many lines the file has
    bool writtenBackAsIs = false;  // (when complete) line writing would give the same bytes
    bool droppedBytes = false;     // (when complete) line reading drops bytes
    FileIdentity identity;         // the file as it was opened
};

// Reads the file once; refuses a file its first line tells is no observation file, as
// layoutOfFile does. `blockSize` is for tests.
ScanOutcome scanEpochs(const std::string& path, const ScanLineVisitor& visitLine,
                       const ScanEpochVisitor& visitEpoch,
                       std::size_t blockSize = std::size_t{1} << 20);

}  // namespace marvolt
