#!/bin/sh
# Builds the Debian package of Marvolt in build-package/ (a release build without the
# tests) and prints the package's path last. Installs what is missing first. With
# MARVOLT_WERROR=ON in the environment compiler warnings are errors, as in CI.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
BUILD=build-package
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF ${MARVOLT_WERROR:+"-DMARVOLT_WERROR=$MARVOLT_WERROR"} >/dev/null
cmake --build "$BUILD" -j2
rm -f "$BUILD"/marvolt_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls "$PWD/$BUILD"/marvolt_*.deb
