# Shared by the scripts that build and run the Windows programs (sourced, not run):
# Qt for MinGW unpacked into the build folder, and Wine set up to run what is built.

# Qt 6 for MinGW, made by scripts/make-qt-mingw-kit.sh; CI takes the prebuilt kit
# from the shared folder beside the clone. RATEQUILL_QT_KIT names another tarball.
rq_qt_kit="${RATEQUILL_QT_KIT:-$PWD/../shared/qt6-mingw/qt6-mingw-6.4.2.tar.xz}"
rq_qt_dir="$PWD/build/qt6-mingw"

# Unpacks the kit into build/qt6-mingw (again when the tarball is newer than
# what was unpacked); without a kit, says where it looked and what makes one.
rq_unpack_qt_kit() {
    if [ ! -f "$rq_qt_kit" ]; then
        echo "Qt for MinGW is missing: no $rq_qt_kit." >&2
        echo "The window for Windows is built against it. Make it with" >&2
        echo "  bash scripts/make-qt-mingw-kit.sh build/qt6-mingw-kit" >&2
        echo "(about 20 minutes on 2 cores after the download) and point RATEQUILL_QT_KIT at the tarball it makes." >&2
        return 1
    fi
    local stamp="$rq_qt_dir/.unpacked-from"
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$rq_qt_kit" ] && [ ! "$rq_qt_kit" -nt "$stamp" ]; then
        return 0
    fi
    echo "Unpacking $rq_qt_kit into $rq_qt_dir"
    rm -rf "$rq_qt_dir"
    mkdir -p "$(dirname "$rq_qt_dir")"
    tar -xJf "$rq_qt_kit" -C "$(dirname "$rq_qt_dir")"
    if [ ! -f "$rq_qt_dir/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        echo "$rq_qt_kit does not unpack to qt6-mingw/ with Qt's CMake packages" >&2
        return 1
    fi
    echo "$rq_qt_kit" >"$stamp"
}

# Wine in its own prefix under the build folder, quiet, without the .NET and
# HTML engines it would offer to install. Wine passes WINE-prefixed variables
# to the program without the prefix: WINEQT_QPA_PLATFORM is QT_QPA_PLATFORM.
rq_wine_env() {
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
    rq_wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
}

# Qt's offscreen platform under Wine; it finds no fonts by itself.
rq_wine_offscreen() {
    export WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
}

# A Unix path as Wine's drive Z: spells it.
rq_wine_path() {
    local p="$1"
    echo "Z:${p//\//\\}"
}

# Starts an X server of its own (Xvfb on the first free display) for the
# Windows platform plugin under Wine; sets DISPLAY and rq_xvfb_pid.
rq_start_xvfb() {
    local fifo
    fifo="$(mktemp -u "${TMPDIR:-/tmp}/ratequill-xvfb.XXXXXX")"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp 3>"$fifo" 2>/dev/null &
    rq_xvfb_pid=$!
    local display
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# Waits for a shown window whose title matches a pattern (xdotool's --name)
# and prints its id.
rq_find_window() {
    local found=""
    for _ in $(seq 1 120); do
        found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
        [ -n "$found" ] && break
        sleep 0.5
    done
    [ -n "$found" ] || { echo "no window \"$1\" appeared" >&2; return 1; }
    echo "$found"
}

rq_stop_xvfb() {
    if [ -n "${rq_xvfb_pid:-}" ]; then
        kill "$rq_xvfb_pid" 2>/dev/null || true
        wait "$rq_xvfb_pid" 2>/dev/null || true
        rq_xvfb_pid=""
    fi
}

# Waits until the Wine programs of this prefix have ended; a wineserver left
# from a run without a display keeps the next run from opening windows on one.
rq_wine_wait() {
    "$(dirname "$rq_wine")/wineserver" -w 2>/dev/null || wineserver -w
}
