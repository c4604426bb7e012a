#!/usr/bin/env bash
# Runs a Windows program of this build under Wine, as ctest's cross-compiling emulator. Every build folder
# has its own Wine prefix, created once (about ten seconds) by whichever test starts first, and one
# persistent wineserver for the run; the test labelled wine-stop ends it.
set -u
exe=$1
build=$(cd "$(dirname "$exe")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = / ] && build=$(pwd)

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

{
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
    fi
    wineserver -p >/dev/null 2>&1 || true
} 9>"$build/wineprefix.lock"

exec wine "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
