#!/bin/sh
# Installs the Debian packages Marvolt needs to build, test and run, when they are missing.
# Runs apt-get as root, or through sudo for a normal user.
set -eu

PACKAGES="build-essential cmake pkgconf qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n \
fonts-wine libgtest-dev libgmock-dev rtklib libproj-dev"
# tools/package.sh builds the Debian package with these (dpkg-shlibdeps, file), and
# tools/check-package.sh validates its desktop entry and metadata and reads its manual page.
PACKAGES="$PACKAGES dpkg-dev file desktop-file-utils appstream man-db"
# Only the fuzz targets and the sanitizer builds need these (clang and its run-times).
if [ "${MARVOLT_CLANG_TOOLS:-0}" = 1 ] || [ "${MARVOLT_FUZZ_TOOLS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES clang libclang-rt-14-dev"
fi
# Only the formatting check (tools/format.sh) needs this.
if [ "${MARVOLT_FORMAT_TOOLS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES clang-format"
fi
# Only tools/windows.sh needs these: mingw-w64 (with POSIX threads) builds for Windows, Wine
# runs the tests and marvolt-cli.exe.
if [ "${MARVOLT_WINDOWS_TOOLS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES g++-mingw-w64-x86-64-posix wine wine64"
fi
# Only the screenshot script needs these.
if [ "${MARVOLT_SCREENSHOT_TOOLS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES xvfb xauth imagemagick xdotool"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
