#!/bin/sh
# Checks that every C++ source and header in git is laid out as the project's .clang-format
# says (clang-format 14, Debian 12's); with --fix, lays them out so in place.
# MARVOLT_FORMAT_TOOLS=1 tools/install-deps.sh installs clang-format.
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" = --fix ]; then
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i
else
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
    echo "Every source is formatted"
fi
