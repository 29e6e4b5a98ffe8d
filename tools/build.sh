#!/bin/sh
# Configures and builds Marvolt in build/ (incremental; two jobs).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2
