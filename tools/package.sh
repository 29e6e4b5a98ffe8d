#!/bin/sh
# Builds the Debian package of Marvolt in build-package/ (a release build without the
# tests) and prints the package's path last. Installs what is missing first. With
# MARVOLT_WERROR=ON in the environment compiler warnings are errors, as in CI. With
# MARVOLT_PACKAGE_FROM=FOLDER the package is made from that release build as it is
# configured (build/ of tools/build.sh: the same programs; only what the package installs
# goes into it), as CI does after testing that build.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
BUILD=${MARVOLT_PACKAGE_FROM:-build-package}
if [ -z "${MARVOLT_PACKAGE_FROM:-}" ]; then
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DBUILD_TESTING=OFF ${MARVOLT_WERROR:+"-DMARVOLT_WERROR=$MARVOLT_WERROR"} >/dev/null
elif ! grep -qx "CMAKE_BUILD_TYPE:STRING=Release" "$BUILD/CMakeCache.txt"; then
    echo "$BUILD is no release build" >&2
    exit 64
fi
cmake --build "$BUILD" -j2
rm -f "$BUILD"/marvolt_*.deb
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls "$PWD/$BUILD"/marvolt_*.deb
