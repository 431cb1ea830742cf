#!/usr/bin/env bash
# Reproduces the performance figures of the README in one go, so they share
# the machine's mood: the command benchmarks at (5, 200) and (99, 20,000), the
# whole batch process against the I/O floor, and the real window offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."

RATEQUILL_BENCH=1 bash scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench

bin="$PWD/build/bench"
echo "== Commands (release build, median of repetitions)"
"$bin/bench/rq_benchmarks" --benchmark_min_time=0.5 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

work="$(mktemp -d "${TMPDIR:-/tmp}/ratequill-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
"$bin/bench/rq_generate_project" 99 20000 20041005 "$work"
mkdir "$work/orig"
cp "$work"/REBUILDER.ECL "$work"/REBUILDER.INF "$work/orig/"
echo
echo "== Whole process on (99, 20,000): headless batch (load, maximise, apply, save) against the I/O floor"
"$bin/bench/rq_process_compare" 9 "rm -f $work/*BAK; cp $work/orig/REBUILDER.* $work/" \
    -- "$bin/bench/rq_io_floor" "$work/REBUILDER" \
    -- /usr/bin/env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/ratequill" \
       "/ecl=$work/REBUILDER.ECL" /vts=v01 /min=1850 /max_via_bitrate /autosave /nogui
echo
# ratequill-cli against the I/O floor, without and with the floor's files
# flushed to the disk as the save flushes its own: RUNS FOLDER RESTORE VTS
cli_against_floor() {
    for sync in "" --fsync; do
        "$bin/bench/rq_process_compare" "$1" "$3" \
            -- "$bin/bench/rq_io_floor" "$2/REBUILDER" $sync \
            -- "$bin/ratequill-cli" "/ecl=$2/REBUILDER.ECL" "/vts=$4" /min=1850 /max_via_bitrate /autosave
    done
}
echo "== The same with the window-free ratequill-cli, against the floor and the flushed floor"
cli_against_floor 9 "$work" "rm -f $work/*BAK; cp $work/orig/REBUILDER.* $work/" v01
echo
echo "== Instructions of that ratequill-cli job (callgrind; target 250 million)"
rm -f "$work"/*BAK; cp "$work"/orig/REBUILDER.* "$work/"
valgrind --tool=callgrind --callgrind-out-file=/dev/null "$bin/ratequill-cli" "/ecl=$work/REBUILDER.ECL" \
    /vts=v01 /min=1850 /max_via_bitrate /autosave 2>&1 | grep -o 'refs: .*'
echo
echo "== The quick number conversions against the exact ones"
"$bin/bench/rq_number_check" 2000000 "$(date +%s)"
example="$work/example"
mkdir "$example"
echo
echo "== The example job (README) with ratequill-cli, against the floor and the flushed floor"
cli_against_floor 21 "$example" "rm -f $example/*; cp examples/REBUILDER.* $example/" v02
echo
echo "== The real window (Qt offscreen) on (99, 20,000)"
"$bin/bench/rq_window_bench" 99 20000 2>/dev/null
