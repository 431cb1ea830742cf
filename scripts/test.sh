#!/usr/bin/env bash
# Builds Ratequill and runs every test (library, windows offscreen, program),
# then builds and runs them all again under AddressSanitizer and
# UndefinedBehaviorSanitizer, where any memory error, leak or undefined
# behaviour fails the test that caused it. Last, the Windows stage: the
# cross-built ratequill-cli.exe and test suite under Wine; then the packages:
# the Debian package and the Windows installer, made and checked.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release --output-on-failure -j2
echo "== Release build and tests: ${SECONDS} s"

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan --output-on-failure -j2
echo "== With the sanitizers: ${SECONDS} s"

bash scripts/test-windows.sh
echo "== With the Windows stage: ${SECONDS} s"

bash scripts/test-packages.sh
echo "== With the packages: ${SECONDS} s"
