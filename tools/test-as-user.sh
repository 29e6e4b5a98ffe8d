#!/bin/sh
# Runs the tests of a build folder (BUILD, default build/) as an ordinary user, so that the
# tests of files and folders the user may not read or write run too (they skip as root, who
# may). The folder is built first. As root the tests run as the user "nobody", who may read
# the sources and the build and write only the test log; as any other user they simply run.
#   tools/test-as-user.sh [BUILD]     e.g. build-sanitize, after tools/sanitize.sh
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "$build is not configured: run tools/build.sh or tools/sanitize.sh first" >&2
    exit 64
fi
cmake --build "$build" -j2
if [ "$(id -u)" -ne 0 ]; then
    exec ctest --test-dir "$build" --output-on-failure -j2
fi
# ctest writes its log under Testing/; the tests write only into their own temporary folders
# and, for the window's settings, into a home of their own.
mkdir -p "$build/Testing"
chown -R nobody:nogroup "$build/Testing"
build=$(cd "$build" && pwd)
home=$(mktemp -d /tmp/marvolt-home.XXXXXX)
trap 'rm -rf "$home"' EXIT
chown nobody:nogroup "$home"
setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env \
    env HOME="$home" sh -c "cd /tmp && ctest --test-dir '$build' --output-on-failure -j2"
