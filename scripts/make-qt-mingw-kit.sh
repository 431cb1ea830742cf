#!/usr/bin/env bash
# Makes Qt for MinGW, the kit that ratequill.exe (the window for Windows) is
# built against: Qt Core, Gui, Widgets and Test as DLLs, with the windows,
# offscreen and minimal platform plugins, cross-built for 64-bit Windows with
# Debian 12's mingw-w64 (posix threads) from Debian's own qt6-base source, the
# same Qt version as the host tools (moc, uic, rcc) of qt6-base-dev-tools.
# The result, WORK/qt6-mingw-<version>.tar.xz, unpacks to qt6-mingw/; point
# RATEQUILL_QT_KIT at it for scripts/test-windows.sh, or unpack it into build/
# for the windows-qt preset. About 20 minutes on 2 cores after the download.
#   bash scripts/make-qt-mingw-kit.sh [WORK]     (default build/qt-mingw-kit)
# CONFIGURE_ONLY=1 stops after Qt's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
work="${1:-build/qt-mingw-kit}"
mkdir -p "$work"
work="$(cd "$work" && pwd)"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# Debian's source packages come from the same archive as the binary ones.
src_list=/etc/apt/sources.list.d/debian-src.sources
if [ ! -f "$src_list" ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$src_list" >/dev/null
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends dpkg-dev g++-mingw-w64-x86-64-posix \
    gcc-mingw-w64-x86-64-posix cmake ninja-build qt6-base-dev qt6-base-dev-tools xz-utils >/dev/null

# The source of the Qt whose host tools are installed: the kit's moc and the
# host's must be the same version.
host_version="$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)"
cd "$work"
srcdir="$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
if [ -z "$srcdir" ]; then
    apt-get source -qq "qt6-base=$host_version"
    srcdir="$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)"
fi
srcdir="$work/${srcdir#./}"
qt_version="${host_version%%+*}"
qt_version="${qt_version#*:}"
echo "Qt $qt_version from $srcdir"

patch_file="$repo/scripts/qt-mingw/windows-plugin-directwrite-needs-direct2d.patch"
if patch -R -p1 -s -f --dry-run -d "$srcdir" <"$patch_file" >/dev/null 2>&1; then
    echo "The source is patched already"
else
    patch -p1 -d "$srcdir" <"$patch_file"
fi

# What the window needs, and no more: no SQL, network, D-Bus, OpenGL, printing,
# XML or ICU; zlib, PCRE2, HarfBuzz, libpng and FreeType built in, so that the
# DLLs need nothing but Windows and the MinGW runtime. The Windows plugin draws
# with GDI fonts (Direct2D is off), the offscreen plugin with FreeType.
prefix="$work/qt6-mingw"
rm -rf "$work/build" "$prefix"
mkdir "$work/build"
cd "$work/build"
nice cmake -G Ninja "$srcdir" \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_pkg_config=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
    -DFEATURE_icu=OFF -DFEATURE_vulkan=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_png=OFF -DFEATURE_png=ON -DFEATURE_jpeg=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_fontconfig=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_androiddeployqt=OFF -DFEATURE_direct2d=OFF
if [ "${CONFIGURE_ONLY:-0}" = 1 ]; then
    echo "Configured in $work/build"
    exit 0
fi
nice cmake --build . --parallel "$(nproc)"
cmake --install . >/dev/null
cd "$work"
tar -cJf "qt6-mingw-$qt_version.tar.xz" qt6-mingw
echo "Made $work/qt6-mingw-$qt_version.tar.xz"
