#pragma once
// The reading of solution files timed against the plain read and split of their lines.

namespace marvolt::bench {

// Generates a day of .pos epochs at 1 Hz and at 20 Hz in a temporary folder and prints, for
// each, readSolution against the floor (the file read in blocks and every line split into its
// blank-separated fields), the best of `runs`, with the peak resident memory. 0 when the
// targets are met (1.5 x the floor, 64 MB), 1 when not.
int runSolutionBench(int runs);

}  // namespace marvolt::bench
