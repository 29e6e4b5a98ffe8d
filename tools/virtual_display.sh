# Sourced by the picture scripts. start_virtual_display NUMBER SCREEN starts Xvfb on display
# :NUMBER with a screen of SCREEN (such as 1024x768x24), exports DISPLAY and waits until the
# display answers; XVFB holds its process for the script's cleanup.
start_virtual_display() {
    Xvfb ":$1" -screen 0 "$2" -nolisten tcp >/dev/null 2>&1 &
    XVFB=$!
    export DISPLAY=":$1"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
}
