#!/usr/bin/env bash
# Fuzzes Ratequill with libFuzzer (clang): builds the fuzz preset and runs each
# target for the given time, starting from the committed seed corpus.
#
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#
# Targets: project (ECL and INF bytes through reading, the commands, apply,
# save and reload), numbers (number text), cmdline (the batch command line).
# Default: 600 seconds for each of the three. New inputs go to the work corpus
# under the build folder (RQ_FUZZ_BUILD, default build/fuzz); the committed
# seeds are only read. An input that finds a fault is written to
# <build>/findings/<target>/; copy it into fuzz/corpus/<target>/ so that ctest
# replays it from then on. Exit status 1 when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-600}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(project numbers cmdline)
build="${RQ_FUZZ_BUILD:-build/fuzz}"

RATEQUILL_FUZZ=1 bash scripts/install-deps.sh
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target "${targets[@]/#/rq_fuzz_}"

found=0
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    findings="$build/findings/$t"
    log="$build/fuzz-$t.log"
    mkdir -p "$work" "$findings"
    echo "== $t: $seconds s, log in $log"
    status=0
    nice -n 19 "$build/fuzz/rq_fuzz_$t" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
    grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$log" || true
    if [ "$status" -ne 0 ]; then
        found=1
        echo "!! $t found a fault (status $status):"
        grep -E '^==[0-9]+==|^SUMMARY|Test unit written' "$log" || tail -20 "$log"
    fi
done
exit "$found"
