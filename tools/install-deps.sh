#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when they are already there.
# Installers people meet are mostly 32-bit programs (every Inno Setup installer starts from a 32-bit loader), so
# Wine gets its 32-bit half too: with wine32 its WoW64 runs them as 64-bit Windows does. Node.js and npm fetch
# the pinned Inno Setup compiler in the test set-up; wixl and msitools' msibuild build the Windows Installer
# package the tests play.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format libgtest-dev googletest libbenchmark-dev
          mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 wine32:i386 xvfb xauth nsis xdotool imagemagick
          x11-utils fp-utils ansible wixl msitools)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
updated=no
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    updated=yes
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere with npm inside it; Debian's packages only when the commands are missing.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ] || [ $updated = yes ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    [ ${#missing[@]} -eq 0 ] || $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
