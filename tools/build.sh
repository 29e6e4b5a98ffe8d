#!/bin/sh
# Configures and builds Marvolt in build/ (incremental; two jobs). The build type is kept in
# build/'s cache (Release unless chosen otherwise). MARVOLT_WERROR=ON in the environment
# turns compiler warnings into errors, as in CI.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build ${MARVOLT_WERROR:+"-DMARVOLT_WERROR=$MARVOLT_WERROR"} >/dev/null
cmake --build build -j2
