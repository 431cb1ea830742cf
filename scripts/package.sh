#!/usr/bin/env bash
# Makes the packages: the Debian package from the release build, the Windows
# installer and zip from the mingw-w64 cross build. All three end up in
# build/packages/.
set -euo pipefail
cd "$(dirname "$0")/.."

RATEQUILL_WINDOWS=1 RATEQUILL_PACKAGES=1 bash scripts/install-deps.sh
# Only what the packages hold is built; cpack then installs it into each package.
cmake --preset release >/dev/null
cmake --build --preset release --target ratequill ratequill-cli compressed_docs
(cd build/release && cpack)
# The Windows installer and zip carry the window too: built against Qt for
# MinGW, unpacked from the kit (see scripts/windows-env.sh).
source scripts/windows-env.sh
rq_unpack_qt_kit
cmake --preset windows-qt >/dev/null
cmake --build --preset windows-qt --target ratequill ratequill-cli
(cd build/windows-qt && cpack)

mkdir -p build/packages
version="$(sed -n 's/^project(Ratequill VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
cp "build/release/packages/ratequill_${version}_amd64.deb" \
   "build/windows-qt/packages/ratequill-${version}-win64.exe" \
   "build/windows-qt/packages/ratequill-${version}-win64.zip" build/packages/
ls -l build/packages/
