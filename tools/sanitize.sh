#!/bin/sh
# Builds the core, marvolt-cli and their tests with clang and a sanitizer and runs the
# tests there (incremental; two jobs). The window is left out: Qt is not built with the
# sanitizers; so is the benchmark. clang builds these in a third of gcc's time.
#   tools/sanitize.sh          AddressSanitizer and UBSan, in build-sanitize/
#   tools/sanitize.sh thread   ThreadSanitizer (the reading thread, the block writer), in
#                              build-tsan/
set -eu
cd "$(dirname "$0")/.."
case ${1:-address} in
    address) build=build-sanitize option=MARVOLT_SANITIZE ;;
    thread) build=build-tsan option=MARVOLT_TSAN ;;
    *)
        echo "usage: tools/sanitize.sh [address|thread]" >&2
        exit 64
        ;;
esac
MARVOLT_CLANG_TOOLS=1 tools/install-deps.sh
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-D$option=ON" -DMARVOLT_BUILD_UI=OFF -DMARVOLT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
