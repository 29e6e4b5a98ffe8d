#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) in build-fuzz/ and runs each for
# SECONDS (default 10, as CI runs them; give more for a longer search), starting from the
# test files, the example survey and what earlier runs found (kept in build-fuzz/corpus/); a
# failing input is kept in build-fuzz/. Stops at the first target that fails, with its log.
# Prints, for each target, the number of inputs it ran.
#   tools/fuzz.sh [SECONDS]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-10}
MARVOLT_CLANG_TOOLS=1 tools/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMARVOLT_FUZZ=ON -DMARVOLT_BUILD_UI=OFF -DMARVOLT_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 --target fuzz_targets

for target in line_reading item_split whole_number time_text first_observation epoch_scan \
    time_file_import modification solution_reader; do
    # Short texts for the conversions of single items; the start of a file where every
    # input is written to a file and read back, checked against a scan of all its lines or
    # posted point by point; whole files for the rest.
    case $target in
        item_split | whole_number | time_text) max_len=64 ;;
        line_reading | epoch_scan | time_file_import) max_len=4096 ;;
        *) max_len=65536 ;;
    esac
    corpus=build-fuzz/corpus/$target
    log=build-fuzz/fuzz_$target.log
    mkdir -p "$corpus"
    if ! build-fuzz/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=$max_len \
        -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus" tests/data examples >"$log" 2>&1; then
        cat "$log"
        echo "fuzz_$target failed; the input is named in the log above" >&2
        exit 1
    fi
    # libFuzzer 14 counts the inputs run as "units", later versions as "runs".
    runs=$(sed -n "s/^stat::number_of_executed_\(runs\|units\): *//p" "$log")
    echo "fuzz_$target: $runs runs in $seconds s"
done
