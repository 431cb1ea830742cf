#!/usr/bin/env bash
# The Windows stage: cross-builds the library, ratequill-cli.exe and the test
# suite with mingw-w64, runs the suite once under Wine, then runs the example
# job under Wine, through a Windows path with a drive letter, backslashes and
# a Unicode folder, and checks that it writes the same four files, and prints
# the same report, as the Linux program on the same input.
set -euo pipefail
cd "$(dirname "$0")/.."

RATEQUILL_WINDOWS=1 bash scripts/install-deps.sh
cmake --preset windows-cross >/dev/null
cmake --build --preset windows-cross --target ratequill-cli ratequill_tests
cmake --preset release >/dev/null
cmake --build --preset release --target ratequill-cli

build="$PWD/build/windows-cross"
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"

echo "== The test suite under Wine"
"$wine" "$build/tests/ratequill_tests.exe" --gtest_brief=1

echo "== The example job under Wine against Linux"
work="$(mktemp -d "${TMPDIR:-/tmp}/ratequill-windows.XXXXXX")"
trap 'rm -rf "$work"' EXIT
linux="$work/linux"
windows="$work/Filme/Ω"
mkdir -p "$linux" "$windows"
cp examples/REBUILDER.ECL examples/REBUILDER.INF "$linux/"
cp examples/REBUILDER.ECL examples/REBUILDER.INF "$windows/"
job=(/vts=v02 /min=1850 /max_via_bitrate /autosave)
build/release/ratequill-cli "/ecl=$linux/REBUILDER.ECL" "${job[@]}"
"$wine" "$build/ratequill-cli.exe" "/ecl=Z:${windows//\//\\}\\REBUILDER.ECL" "${job[@]}"
build/release/ratequill-cli --report "/ecl=$linux/REBUILDER.ECL" >"$work/linux.txt"
"$wine" "$build/ratequill-cli.exe" --report "/ecl=Z:${windows//\//\\}\\REBUILDER.INF" >"$work/windows.txt"
for f in REBUILDER.ECL REBUILDER.INF REBUILDER.ECLBAK REBUILDER.INFBAK; do
    cmp "$linux/$f" "$windows/$f"
done
cmp "$work/linux.txt" "$work/windows.txt"
cmp "$linux/REBUILDER.ECLBAK" examples/REBUILDER.ECL
if cmp -s "$linux/REBUILDER.ECL" examples/REBUILDER.ECL; then
    echo "the job did not change the project" >&2
    exit 1
fi
echo "The four files and the report are byte-identical to Linux."
