#!/bin/sh
# Runs the tests as an ordinary user, so that the tests of files and folders the user may
# not read or write run too (they skip as root, who may). As root, a copy of the sources is
# built and tested as the user "nobody" in a temporary folder (the window is left out); as
# any other user the tests of build/ simply run.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
if [ "$(id -u)" -ne 0 ]; then
    tools/build.sh
    exec ctest --test-dir build --output-on-failure -j2
fi

copy=$(mktemp -d /tmp/marvolt-as-user.XXXXXX)
trap 'rm -rf "$copy"' EXIT
tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$copy"
chown -R nobody:nogroup "$copy"
chmod 755 "$copy"
setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env sh -c "
    cd '$copy' &&
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMARVOLT_BUILD_UI=OFF >/dev/null &&
    cmake --build build -j2 &&
    ctest --test-dir build --output-on-failure -j2"
