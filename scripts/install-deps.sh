#!/usr/bin/env bash
# Installs what building and testing Ratequill needs on Debian 12, skipping
# what is already there. Run as root (or with sudo available).
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
          qt6-base-dev libgl-dev xvfb xauth)
# The Windows stage: the mingw-w64 cross compiler (posix threads) and Wine to run what it builds;
# Qt's host tools (moc, uic, rcc) for the window built against Qt for MinGW, and a font for Qt's
# offscreen platform under Wine.
if [ "${RATEQUILL_WINDOWS:-0}" = 1 ]; then
    packages+=(g++-mingw-w64-x86-64-posix wine64 qt6-base-dev-tools fonts-dejavu-core xz-utils)
fi
# The screenshots of the window: a grab of the X screen and the window's place on it.
if [ "${RATEQUILL_SCREENSHOT:-0}" = 1 ]; then
    packages+=(imagemagick xdotool fonts-wine)
fi
# Making the packages (dpkg-shlibdeps, file and NSIS for CPack) and checking them
# (lintian, the desktop entry, the file type, the manual pages).
if [ "${RATEQUILL_PACKAGES:-0}" = 1 ]; then
    packages+=(dpkg-dev file nsis lintian desktop-file-utils shared-mime-info libglib2.0-bin man-db)
fi
if [ "${RATEQUILL_FUZZ:-0}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
