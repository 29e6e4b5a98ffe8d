#pragma once
// Plain looks at every line of a whole file, which the one-pass scans of the analysis and
// the modification are checked against.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "epoch_layout.h"
#include "event_records.h"
#include "observation_header.h"
#include "whole_file_lines.h"

namespace marvolt::oracle {

// The first record labelled "TIME OF FIRST OBS" (later ones are ignored), read as
// readFirstObservation reads it; without the record the date is left as it was.
FirstObservation findFirstObservation(const WholeFileLines& lines, double& observationDate);

// Every block the program inserted earlier, in file order (see InsertedBlockFinder).
std::vector<LineRange> insertedEventBlocks(const WholeFileLines& lines, const EpochLayout& layout);

// EpochLayout::isDataEpoch for line i of the file, with the line after it (none at the end).
bool isDataEpoch(const EpochLayout& layout, const WholeFileLines& lines, std::size_t i);

// " YY MM DD " of the observation date: the first 10 characters of every version 2 key.
std::string datePiece(double observationDate);

// EpochLayout::lineMatches of the version 2 layout: the first 18 bytes of the line are the
// key, each two-digit field zero-padded or blank-padded independently of the key.
bool lineMatches(std::string_view line, std::string_view key);

// EpochLayout::isDataEpoch of the version 2 layout, which needs no line after it: the flag
// (column 29) is blank, 0 or 1, or 2 or 3 on a line that lists satellites. Flags 4 to 6, 2
// or 3 without satellites, any other character and a line too short to carry the flag are
// no data epochs: they are never reported or changed.
bool isDataEpoch(std::string_view line);

}  // namespace marvolt::oracle
