#!/usr/bin/env bash
# The Windows stage. Cross-builds with mingw-w64, against Qt for MinGW (the
# prebuilt kit from ../shared/qt6-mingw, unpacked into build/qt6-mingw), the
# library's test suite, ratequill-cli.exe, ratequill.exe with the DLLs it needs
# and the window's Qt tests, and under Wine:
# - runs the library suite, and the window's tests on Qt's offscreen platform;
# - checks that every DLL the installed ratequill.exe and its Qt DLLs import
#   lies beside it or is part of Windows;
# - runs the example job through a Windows path with a drive letter,
#   backslashes and a Unicode folder: with ratequill-cli.exe, with ratequill.exe
#   and its window, with ratequill.exe and /nogui, and with the installed
#   ratequill.exe on an X display (Xvfb) with the Windows platform; each writes
#   the same four files, and the reports are the same, as the Linux program's.
# Without the kit the stage says so and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-env.sh

rq_unpack_qt_kit
RATEQUILL_WINDOWS=1 bash scripts/install-deps.sh
cmake --preset windows-qt >/dev/null
qt_tests=(table_models_test encoder_dialog_test main_window_test daily_use_test)
cmake --build --preset windows-qt --target ratequill-cli ratequill ratequill_tests "${qt_tests[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target ratequill-cli
echo "== Built: ${SECONDS} s"

build="$PWD/build/windows-qt"
work="$(mktemp -d "${TMPDIR:-/tmp}/ratequill-windows.XXXXXX")"
trap 'rm -rf "$work"' EXIT
rq_wine_env "$build/wine"

echo "== The library's test suite under Wine"
"$rq_wine" "$build/tests/ratequill_tests.exe" --gtest_brief=1

echo "== The window's tests under Wine, offscreen"
(
    rq_wine_offscreen
    for t in "${qt_tests[@]}"; do
        # Wine's pipe may lose a Qt Test program's output: it writes a file.
        status=0
        "$rq_wine" "$build/$t.exe" -o "$(rq_wine_path "$work/$t.txt"),txt" || status=$?
        grep -E '^(FAIL|XPASS|QFATAL)' -A3 "$work/$t.txt" || true
        grep '^Totals' "$work/$t.txt" | sed "s/^/$t: /"
        [ "$status" = 0 ] || { echo "$t failed under Wine (status $status)" >&2; exit 1; }
    done
)

echo "== What the installed ratequill.exe needs"
rm -rf "$work/dist"
cmake --install "$build" --prefix "$work/dist" >/dev/null
bin="$work/dist/bin"
system32="$WINEPREFIX/drive_c/windows/system32"
missing=0
while IFS= read -r -d '' file; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        lower="${dll,,}"
        # Beside it (the program's folder), or shipped with Windows: a system
        # DLL, or an API set (api-ms-win-*) that Windows resolves itself.
        if [[ "$lower" == api-ms-win-* ]] ||
           [ -n "$(find "$bin" -maxdepth 1 -iname "$lower" -print -quit)" ] ||
           [ -n "$(find "$system32" -maxdepth 1 -iname "$lower" -print -quit)" ]; then
            continue
        fi
        echo "${file#"$bin"/} imports $dll, which is neither beside it nor part of Windows" >&2
        missing=1
    done
done < <(find "$bin" \( -name '*.exe' -o -name '*.dll' \) -print0)
[ "$missing" = 0 ]
ls "$bin" "$bin/platforms" "$bin/styles" | tr '\n' ' '
echo

echo "== The example job under Wine against Linux"
linux="$work/linux"
mkdir -p "$linux"
cp examples/REBUILDER.ECL examples/REBUILDER.INF "$linux/"
job=(/vts=v02 /min=1850 /max_via_bitrate /autosave)
build/release/ratequill-cli "/ecl=$linux/REBUILDER.ECL" "${job[@]}"
build/release/ratequill-cli --report "/ecl=$linux/REBUILDER.ECL" >"$work/linux.txt"
if cmp -s "$linux/REBUILDER.ECL" examples/REBUILDER.ECL; then
    echo "the job did not change the project" >&2
    exit 1
fi
cmp "$linux/REBUILDER.ECLBAK" examples/REBUILDER.ECL

# Runs the job through the Windows program (the rest of the arguments) in a
# fresh copy of the example below a Unicode folder, then checks the four files
# and the saved project's report against Linux.
run_job() {
    local name="$1"
    shift
    local windows="$work/$name/Filme/Ω"
    mkdir -p "$windows"
    cp examples/REBUILDER.ECL examples/REBUILDER.INF "$windows/"
    local ecl
    ecl="$(rq_wine_path "$windows")\\REBUILDER.ECL"
    "$rq_wine" "$@" "/ecl=$ecl" "${job[@]}"
    for f in REBUILDER.ECL REBUILDER.INF REBUILDER.ECLBAK REBUILDER.INFBAK; do
        cmp "$linux/$f" "$windows/$f"
    done
    "$rq_wine" "$1" --report "/ecl=${ecl%.ECL}.INF" >"$work/$name.txt"
    cmp "$work/linux.txt" "$work/$name.txt"
    echo "$name: the four files and the report are byte-identical to Linux"
}
run_job ratequill-cli "$build/ratequill-cli.exe"
(
    rq_wine_offscreen
    run_job "ratequill, its window offscreen" "$build/ratequill.exe" /autoexit
    run_job "ratequill, /nogui offscreen" "$build/ratequill.exe" /nogui /autoexit
)
# The installed program with nothing but what it installs: the Windows
# platform on an X display.
rq_wine_wait
rq_start_xvfb
trap 'rq_stop_xvfb; rm -rf "$work"' EXIT
run_job "installed ratequill, its window on X" "$bin/ratequill.exe" /autoexit
rq_wine_wait
rq_stop_xvfb
echo "== The Windows stage: ${SECONDS} s"
