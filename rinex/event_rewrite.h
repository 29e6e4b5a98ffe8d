#pragma once
// The analysed file's lines written out again with the STOP and GO events of the analysis:
// flags over the epochs' own, or separate event records before them; event blocks that an
// earlier run inserted are left out. The original is read in blocks, so a file of any size
// goes through in little memory.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis_result.h"
#include "progress.h"

namespace marvolt {

// How the events are written.
enum class EventStyle {
    Flags,    // 3 over the flag of every STOP epoch, 2 over that of every GO epoch
    Records,  // separate event records inserted before those epochs
};

// The events of the result at each epoch line it names, in the order they are written:
// points in STOP order, a point's STOP before its GO.
struct EpochEvent {
    Moment moment;
    const PointEpochs* point;
};
using EventsByLine = std::map<std::size_t, std::vector<EpochEvent>>;
EventsByLine eventsByLine(const AnalysisResult& result);

// The flag the flags style leaves on a line: that of its last event, so that a line that is
// one point's GO and the next point's STOP ends with 3.
char flagOf(const std::vector<EpochEvent>& events);

// What a rewrite found wrong with the file.
enum class RewriteTrouble {
    None,
    DroppedBytes,  // line reading would drop bytes: the rewrite would lose them
    Changed,       // an epoch line of the result is no longer the data epoch of its key
    Stopped,       // the user stopped the rewrite part-way
};

// Writes the file's lines, each ended by CR LF, with the events into the open file `out`;
// tells what was wrong instead when the written file must not be used. `blocks` are the
// event blocks inserted earlier (as the analysis found them in this very file). `progress` is
// told the share of the file read and asked whether to stop every few megabytes.
RewriteTrouble rewriteWithEvents(const AnalysisResult& result, const EventsByLine& events,
                                 const std::vector<LineRange>& blocks, EventStyle style, int out,
                                 Progress& progress = Progress::none());

}  // namespace marvolt
