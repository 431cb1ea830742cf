#!/usr/bin/env bash
# Builds Ratequill and runs every test (library, windows offscreen, program).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release --output-on-failure -j2
