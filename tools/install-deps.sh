#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when they are already there.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format libgtest-dev googletest libbenchmark-dev
          mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth nsis xdotool imagemagick x11-utils
          fp-utils ansible)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
