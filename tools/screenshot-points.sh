#!/bin/sh
# Makes docs/points.png and the pictures of the points dialog in $OUT (default
# /tmp/marvolt-points-shots): starts the window on a virtual X display twice and drives it
# as a user would. First the drive of tests/data/solutions (its time file of 10 stops, a
# RINEX file of the same span made here, the solution file); then the static hour of
# tests/data (station 0759 against 3040), its solution computed by rnx2rtkp. Needs xvfb,
# xdotool and imagemagick (MARVOLT_SCREENSHOT_TOOLS=1 tools/install-deps.sh) and rtklib.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${MARVOLT_BUILD_DIR:-build}
OUT=${OUT:-/tmp/marvolt-points-shots}
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target Marvolt
mkdir -p docs "$OUT"
WORK=$(mktemp -d)

XVFB=""
MARVOLT=""
cleanup() {
    [ -n "$MARVOLT" ] && kill "$MARVOLT" 2>/dev/null || true
    [ -n "$XVFB" ] && kill "$XVFB" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
. tools/virtual_display.sh
start_virtual_display "${MARVOLT_SCREENSHOT_DISPLAY:-98}" 1280x1024x24

# Starts the window with a home of its own (its remembered settings in $1/home).
start() {
    mkdir -p "$1/home/.config/Marvolt"
    printf '[points]\ngrid=%s\n' "$2" >"$1/home/.config/Marvolt/Marvolt.conf"
    (cd "$1" && HOME="$1/home" QT_QPA_PLATFORM=xcb exec "$ROOT/$BUILD/ui/Marvolt") &
    MARVOLT=$!
    WINDOW=$(timeout 30 xdotool search --sync --name '^Marvolt$' | head -n 1)
    sleep 1
}
stop() {
    kill "$MARVOLT"
    wait "$MARVOLT" 2>/dev/null || true
    MARVOLT=""
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep "${4:-1}"; }
# Types a path into the file dialog that is open and accepts it.
choose() {
    sleep 1
    xdotool type --delay 2 "$1"
    xdotool key Return
    sleep "${2:-1}"
}
shot() { import -window "$1" "$OUT/$2"; }
# The time file and the RINEX file in $1; the window imports and analyses them, then opens
# the points dialog.
analyse() {
    click "$WINDOW" 124 60
    choose "$1/czasy.txt"
    xdotool key Return  # the import's message
    sleep 0.5
    click "$WINDOW" 104 372
    choose "$2" 2
    xdotool key Return  # the analysis's verdict
    sleep 0.5
    shot "$WINDOW" "$3"
    click "$WINDOW" 104 536 2
    DIALOG=$(timeout 10 xdotool search --sync --name 'Współrzędne punktów' | head -n 1)
}

# The drive: a RINEX 2.11 file of one epoch a second over the drive's span.
DRIVE="$WORK/drive"
mkdir -p "$DRIVE"
cp tests/data/solutions/matrtklib_stops.txt "$DRIVE/czasy.txt"
cp tests/data/solutions/matrtklib_rover_1Hz_rtk.pos "$DRIVE/rover.pos"
awk 'function rec(v, l) { printf "%-60s%s\n", v, l }
BEGIN {
    rec("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE")
    rec("     1    C1", "# / TYPES OF OBSERV")
    rec("  2023     7    11     6     4   30.0000000     GPS", "TIME OF FIRST OBS")
    rec("", "END OF HEADER")
    for (t = 6 * 3600 + 4 * 60 + 30; t <= 6 * 3600 + 25 * 60; t++) {
        printf " 23  7 11 %2d %2d %10.7f  0  1G05\n", int(t / 3600), int(t / 60) % 60, t % 60
        print "  23629347.915"
    }
}' >"$DRIVE/pomiar.23o"

start "$DRIVE" 0
analyse "$DRIVE" "$DRIVE/pomiar.23o" window-drive.png
click "$DIALOG" 896 50
choose "$DRIVE/rover.pos" 3
shot "$DIALOG" drive-day.png
click "$DIALOG" 50 253  # the row of P4: the chart shows its window
shot "$DIALOG" drive-p4.png
cp "$OUT/drive-day.png" docs/points.png
click "$DIALOG" 165 370  # the tab "Plan"
shot "$DIALOG" drive-plan.png
stop

# The static hour: its solution computed by rnx2rtkp from the base and navigation files.
STATIC="$WORK/static"
mkdir -p "$STATIC"
cp tests/data/rtk_07590920.05o tests/data/rtk_30400920.05o tests/data/rtk_07590920.05n "$STATIC/"
printf 'S1 0:00:00 0:10:00\nS2 0:20:00 0:30:00\nS3 0:40:00 0:50:00\n' >"$STATIC/czasy.txt"
start "$STATIC" 0
analyse "$STATIC" "$STATIC/rtk_07590920.05o" window-static.png
click "$DIALOG" 30 78 0.5
click "$DIALOG" 896 78
choose "$STATIC/rtk_30400920.05o"
click "$DIALOG" 896 106
choose "$STATIC/rtk_07590920.05n"
click "$DIALOG" 823 146 0.7
shot "$DIALOG" static-running.png
sleep 6
shot "$DIALOG" static-hour.png
stop
ls "$OUT"
