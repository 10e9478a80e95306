#!/bin/bash
# The real maprun window under Xvfb: click "Fullscreen ", find the window
# "Vantor Fullscreen Application", press Esc and see "Form1" again; then the
# same at 640 x 400, left with the 1 key. Screenshots before, during and after
# go to WORKDIR. Skipped (exit 77) when no X server can be started.
#   fullscreen_xvfb.sh MAPRUN DEMOGEN WORKDIR
set -u

if [ "${1:-}" != --inside ]; then
    maprun=$1 demogen=$2 work=$3
    for tool in xvfb-run Xvfb xauth xdotool import; do
        command -v "$tool" >/dev/null ||
            { echo "SKIPPED: $tool is not installed (./dev deps installs it)"; exit 77; }
    done
    rm -rf "$work" && mkdir -p "$work" || exit 1
    "$demogen" "$work/demo" >/dev/null || { echo "demogen failed"; exit 1; }
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" \
        bash "$0" --inside "$maprun" "$work" >"$work/inside.log" 2>&1
    rc=$?
    cat "$work/inside.log"
    if [ ! -e "$work/x-started" ]; then
        echo "SKIPPED: no X server could be started (xvfb-run exit $rc)"
        exit 77
    fi
    exit $rc
fi

maprun=$2 work=$3
touch "$work/x-started"
# The tests' environment may ask Qt for its offscreen platform: here the
# program must show real windows on the X server.
export QT_QPA_PLATFORM=xcb
fail() {
    echo "FAILED: $*"
    import -window root "$work/failure.png" 2>/dev/null
    echo "maprun's output:"
    cat "$work/maprun.log"
    exit 1
}

# The id of the visible window whose title is exactly $1, waiting up to $2 s.
window() {
    local i id
    for ((i = 0; i < $2 * 4; i++)); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.25
    done
    return 1
}
# Waits up to $2 s until no visible window is titled $1.
gone() {
    local i
    for ((i = 0; i < $2 * 4; i++)); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.25
    done
    return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# Runs fullscreen from the window $1 and leaves with key $2; $3 names the shots.
fullscreen() {
    click "$1" 280 100 # "Fullscreen " at 248, 88, 65 x 25
    local screen
    screen=$(window "Vantor Fullscreen Application" 20) || fail "no fullscreen window ($3)"
    sleep 1
    import -window root "$work/$3-during.png"
    xdotool windowfocus --sync "$screen" 2>/dev/null
    xdotool key "$2"
    gone "Vantor Fullscreen Application" 20 || fail "$2 did not end the fullscreen run ($3)"
    window Form1 10 >/dev/null || fail "Form1 is not shown again ($3)"
    sleep 0.5
    import -window root "$work/$3-after.png"
}

cd "$work/demo" || exit 1
"$maprun" demo.map >"$work/maprun.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null' EXIT

form=$(window Form1 30) || fail "Form1 never appeared"
sleep 0.5
import -window root "$work/before.png"
fullscreen "$form" Escape lowres
click "$form" 250 40 # "HiRes" at 224, 32, 57 x 17
sleep 0.5
fullscreen "$form" 1 hires
kill -0 "$pid" 2>/dev/null || fail "maprun ended"
echo "maprun went fullscreen and came back twice"
