#!/usr/bin/env bash
# A package recorded on one machine installs on another: the NSIS fixture installer is recorded with real
# input in the build's Wine prefix, then its scenario is played by a direct run in a fresh prefix, where the
# installer must put its files into the folder typed during the recording.
# Usage: record-and-replay.sh <build folder>; runs inside the tests' virtual display.
set -euo pipefail
build=$1
fail() {
    echo "record and replay: $1" >&2
    exit 1
}

rm -rf "$build/recorded"
LC_ALL=C.UTF-8 "$(dirname "$0")/../../cmake/wine-run.sh" "$build/tests/e2e/velmora_e2e_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='RecordingE2eTest.DISABLED_Nsis*' || fail "the recording failed"
scn=$build/recorded/FixtureProduct.SCN
[ -f "$scn" ] || fail "no scenario was recorded"

export WINEPREFIX=$build/fresh-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
code=0
LC_ALL=C.UTF-8 timeout 180 wine "$build/velmora.exe" /inst "Z:${scn//\//\\}" >/dev/null 2>&1 ||
    code=$?
[ "$code" = 0 ] || fail "the direct run ended with exit code $code"
[ -f "$WINEPREFIX/drive_c/RecordedProduct/readme.txt" ] || fail "the installer did not install into the typed folder"
echo "1 passed, 0 failed"
