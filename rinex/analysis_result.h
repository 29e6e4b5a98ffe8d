#pragma once
// What an analysis that ran to its end found: the one thing the modification works from.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "epoch_layout.h"
#include "event_records.h"
#include "file_identity.h"

namespace marvolt {

// The epoch lines of one record of the time table, as the report box listed them.
struct PointEpochs {
    std::size_t record = 0;  // the record's place in STOP order when it was analysed
    std::string punkt;       // its name, Windows-1250 bytes as stored
    std::string stopKey;     // the epoch keys looked up; empty for a negative receiver time
    std::string goKey;
    std::vector<std::size_t> stopLines;  // data epochs, counted from 0, ascending
    std::vector<std::size_t> goLines;
};

struct AnalysisResult {
    std::string file;       // the file as chosen: the one the modification rewrites
    FileIdentity identity;  // and the state it was read in
    double observationDate = 0.0;
    EpochLayout layout = EpochLayout::rinex2();  // of the file's epoch lines and their keys
    std::vector<PointEpochs> points;             // every record, in STOP order
    // Where each epoch line of the points starts in the file, by line number.
    std::map<std::size_t, std::uint64_t> epochOffsets;
    // Line writing gives the file back byte for byte (CR LF ends throughout, nothing
    // dropped): flags can be written into a copy in place.
    bool writtenBackAsIs = false;
    // The event blocks an earlier run inserted, which any rewrite takes out.
    std::vector<LineRange> insertedBlocks;

    // True when every STOP and GO has an epoch line: the file may be modified.
    bool allFound() const {
        for (const PointEpochs& point : points)
            if (point.stopLines.empty() || point.goLines.empty()) return false;
        return true;
    }
};

}  // namespace marvolt
