#!/bin/sh
# Builds the core, marvolt-cli and their tests with AddressSanitizer and UBSan in
# build-sanitize/ (incremental; two jobs) and runs the tests there. The window is left out.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARVOLT_SANITIZE=ON \
    -DMARVOLT_BUILD_UI=OFF >/dev/null
cmake --build build-sanitize -j2
ctest --test-dir build-sanitize --output-on-failure -j2
