#!/usr/bin/env bash
# The main job on the bundled example project, without a window: report the
# title sets, make the feature film's title set as large as possible with the
# others at 1850 kbit/s, apply, save, and report the saved project.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target ratequill

program="$PWD/build/release/ratequill"
work="$(mktemp -d "${TMPDIR:-/tmp}/ratequill-example.XXXXXX")"
cp examples/REBUILDER.ECL examples/REBUILDER.INF "$work/"

echo "== The example project as loaded ($work)"
"$program" --report "/ecl=$work/REBUILDER.ECL"
echo
echo "== Title set v02 (the feature film) as large as possible, the others at 1850 kbit/s"
"$program" --report "/ecl=$work/REBUILDER.ECL" /vts=v02 /min=1850 /max_via_bitrate /autosave
echo
echo "== The saved project, loaded again"
"$program" --report "/ecl=$work/REBUILDER.ECL"
echo
echo "Rewritten files and the backups of the originals:"
ls -l "$work"
