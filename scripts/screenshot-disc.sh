#!/usr/bin/env bash
# Takes the README's picture of the "Disc" page beside the "Main" page: the
# release build of ratequill on an X server of its own (Xvfb), the example
# project from /tmp/FILM opened as "Open with" does, v02 made as large as
# possible with the others at 1850 kbit/s ("Set" of "Bitrate to Max"), then
# both pages grabbed and joined side by side into docs/disc-page.png, or into
# the file given.
#   bash scripts/screenshot-disc.sh [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh
out="${1:-docs/disc-page.png}"

RATEQUILL_SCREENSHOT=1 bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target ratequill

film=/tmp/FILM
rm -rf "$film"
mkdir -p "$film"
cp examples/REBUILDER.ECL examples/REBUILDER.INF "$film/"
work="$(mktemp -d "${TMPDIR:-/tmp}/ratequill-shot.XXXXXX")"

rq_start_xvfb 1600x900x24
program_pid=""
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    rq_stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

grab() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

QT_QPA_PLATFORM=xcb build/release/ratequill "$film/REBUILDER.ECL" &
program_pid=$!
# The caption names the project first: "REBUILDER.ECL – Ratequill V...".
window="$(rq_find_window "Ratequill V")"
dialog="$(rq_find_window '^ECL Parameter')"
xdotool windowmove "$window" 0 0
xdotool windowmove "$dialog" 900 0
sleep 3
# "Set" of "Bitrate to Max": v02 and 1850 are the boxes' own after the load.
set_button="$window"
xdotool mousemove --window "$set_button" 55 302 click 1
sleep 1
xdotool mousemove --window "$window" 700 580
sleep 1
grab "$work/main.png"
# Ctrl+Tab turns the page: Main, VTS Details, Internal Calculation fields,
# ECl File & INF File, Disc.
for _ in 1 2 3 4; do
    xdotool key --window "$window" ctrl+Tab
    sleep 0.3
done
sleep 1
grab "$work/disc.png"
convert "$work/main.png" "$work/disc.png" +append "$out"
echo "Saved the Main and Disc pages side by side: $out"

# Discard the maximise when asked: the copy in /tmp/FILM stays as it was.
xdotool key --window "$window" ctrl+q 2>/dev/null || true
sleep 1
xdotool key Tab key Return 2>/dev/null || true
for _ in $(seq 1 20); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.5
done
