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
#include "observation_header.h"

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

// Where an epoch line stands: its line, counted from 0, and its first byte's offset.
struct EpochPlace {
    std::size_t line = 0;
    std::uint64_t offset = 0;
};

// A record with no data epoch for its STOP, its GO or both.
struct Miss {
    std::size_t point = 0;  // its place in AnalysisResult::points
    bool stop = false;      // no epoch line for the STOP
    bool go = false;        // no epoch line for the GO
};

// The report's only line after an analysis the user stopped.
inline constexpr const char* kStoppedAnalysis = "Analiza przerwana.";

struct AnalysisResult {
    // The user stopped the analysis: nothing else here holds, and nothing is to be shown
    // but kStoppedAnalysis.
    bool stopped = false;
    std::string file;       // the file as chosen: the one the modification rewrites
    FileIdentity identity;  // and the state it was read in
    // The date the keys were made on: the header's, else the one held before.
    double observationDate = 0.0;
    FirstObservation firstObservation;  // the header's "TIME OF FIRST OBS", if it has one
    // Receiver time minus watch time: the first observation minus the first STOP in STOP
    // order (the moment the receiver started logging); STOP2 and GO2 are the watch times
    // moved by it.
    double shift = 0.0;
    EpochLayout layout = EpochLayout::rinex2();  // of the file's epoch lines and their keys
    std::vector<PointEpochs> points;             // every record, in STOP order
    // Where each epoch line of the points starts in the file, by line number.
    std::map<std::size_t, std::uint64_t> epochOffsets;
    // Line writing gives the file back byte for byte (CR LF ends throughout, nothing
    // dropped): flags can be written into a copy in place.
    bool writtenBackAsIs = false;
    // The event blocks an earlier run inserted, which any rewrite takes out.
    std::vector<LineRange> insertedBlocks;
    // The data epochs flagged 2 or 3 by an earlier run, which any rewrite sets back to 0:
    // how many, and where the first kKeptMarks of them stand (all of them, in any survey
    // this program marked).
    static constexpr std::size_t kKeptMarks = 65536;
    std::size_t markedEpochCount = 0;
    std::vector<EpochPlace> markedEpochs;

    // The marks an earlier run left: flagged data epochs and inserted event blocks.
    std::size_t earlierMarks() const { return markedEpochCount + insertedBlocks.size(); }

    // The records with a STOP or a GO that has no epoch line, in STOP order: what the
    // grid colours, the messages list and what keeps the modification back.
    std::vector<Miss> misses() const {
        std::vector<Miss> found;
        for (std::size_t i = 0; i < points.size(); ++i)
            if (points[i].stopLines.empty() || points[i].goLines.empty())
                found.push_back({i, points[i].stopLines.empty(), points[i].goLines.empty()});
        return found;
    }

    // True when every STOP and GO has an epoch line: the file may be modified.
    bool allFound() const { return misses().empty(); }
};

}  // namespace marvolt
