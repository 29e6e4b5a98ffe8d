#!/bin/sh
# Makes docs/screenshot.png: builds when needed, starts the window on a virtual X display,
# waits for it, captures it and ends it. Needs xvfb, xdotool and imagemagick
# (MARVOLT_SCREENSHOT_TOOLS=1 tools/install-deps.sh installs them).
set -eu
cd "$(dirname "$0")/.."
BUILD=${MARVOLT_BUILD_DIR:-build}
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target Marvolt
mkdir -p docs

XVFB=""
MARVOLT=""
cleanup() {
    [ -n "$MARVOLT" ] && kill "$MARVOLT" 2>/dev/null || true
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null || true
}
trap cleanup EXIT
. tools/virtual_display.sh
start_virtual_display "${MARVOLT_SCREENSHOT_DISPLAY:-99}" 1024x768x24

QT_QPA_PLATFORM=xcb "$BUILD/ui/Marvolt" &
MARVOLT=$!
WINDOW=$(timeout 30 xdotool search --sync --name '^Marvolt$' | head -n 1)
sleep 1  # let the window paint
import -window "$WINDOW" docs/screenshot.png
echo "docs/screenshot.png"
