#!/usr/bin/env bash
# Takes the screenshot of the window on Windows for the README: ratequill.exe,
# cross-built against Qt for MinGW, run under Wine on an X server of its own
# (Xvfb) with Qt's Windows platform, opening the example project from C:\FILM
# as "Open with" does. The window's own area (Wine draws no frame without a
# window manager) goes to docs/main-window-windows.png, or to the file given.
#   bash scripts/screenshot-windows.sh [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh
out="${1:-docs/main-window-windows.png}"

rq_unpack_qt_kit
RATEQUILL_WINDOWS=1 RATEQUILL_SCREENSHOT=1 bash scripts/install-deps.sh
cmake --preset windows-qt >/dev/null
cmake --build --preset windows-qt --target ratequill

build="$PWD/build/windows-qt"
# A fresh prefix, with the fonts a Windows desktop has (MS Sans Serif, Tahoma,
# Marlett for the caption buttons) where Windows keeps them: this Wine does not
# find its own font folder, and falls back to a serif font without them.
rq_wine_env "$build/wine-screenshot"
rm -rf "$WINEPREFIX"
"$rq_wine" cmd /c exit 2>/dev/null || true
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# The project where a Windows user keeps one: C:\FILM on the prefix's drive C:.
film="$WINEPREFIX/drive_c/FILM"
mkdir -p "$film"
cp examples/REBUILDER.ECL examples/REBUILDER.INF "$film/"

rq_wine_wait
rq_start_xvfb 1280x720x24
program_pid=""
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    rq_wine_wait || true
    rq_stop_xvfb
}
trap cleanup EXIT

"$rq_wine" "$build/ratequill.exe" 'C:\FILM\REBUILDER.ECL' &
program_pid=$!
# The caption names the project first: "REBUILDER.ECL – Ratequill V...".
window="$(rq_find_window "Ratequill V")"
# The encoder dialog opens with the window; it goes beside it, off the picture.
dialog="$(rq_find_window '^ECL Parameter')"
xdotool windowmove "$window" 0 0
xdotool windowmove "$dialog" 800 0
# The project loads right after the window shows; let it load and paint.
sleep 4
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "Saved the window, ${WIDTH}x${HEIGHT}: $out"

# Ctrl+Q ends the program (nothing changed, so nothing is asked).
xdotool key --window "$window" ctrl+q 2>/dev/null || true
for _ in $(seq 1 20); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.5
done
