#!/usr/bin/env bash
# A package recorded on one machine installs on another, whose screen has another DPI and whose installer is
# the product's next version. Version 1.0 of the NSIS fixture installer is recorded with real input at 96 DPI
# in the build's Wine prefix, each button pressed a few pixels inside its right edge; a fresh prefix at 144
# DPI (Wine's LogPixels) plays that scenario against version 1.1, whose captions differ in the version, then
# records version 1.0 again at 144 DPI, and plays that one at 96 DPI against version 1.1. Each direct run
# must end with exit code 0 and its installer must put its files into the folder typed during its recording.
# The 144 DPI recording is made in the fresh prefix, so that the build's prefix, which every other test uses,
# stays at 96 DPI even when this script is interrupted.
# Usage: record-and-replay.sh <build folder>; runs inside the tests' virtual display.
set -euo pipefail
build=$1
fixtures=$build/tests/fixtures
recorded=$build/recorded
fail() {
    echo "record and replay: $1" >&2
    exit 1
}
windows_path() {
    local path=Z:$1
    echo "${path//\//\\}"
}
recording_test=("$build/tests/e2e/velmora_e2e_tests.exe" --gtest_also_run_disabled_tests
    --gtest_filter='RecordingE2eTest.DISABLED_Nsis*')
# Plays the scenario recorded at one DPI (against version 1.1) and checks where the installer went.
replay() {
    local dpi=$1 report=$recorded/report-$1.txt code=0
    cp "$fixtures/FixtureProductSetup-1.1.exe" "$recorded/Setup.exe"
    LC_ALL=C.UTF-8 timeout 180 wine "$build/velmora.exe" /LOG="$(windows_path "$report")" \
        /inst "$(windows_path "$recorded/FixtureProduct-$dpi.SCN")" >/dev/null 2>&1 || code=$?
    [ "$code" = 0 ] || fail "the scenario recorded at $dpi DPI ended with exit code $code: $(grep -a '^Result' "$report")"
    [ -f "$WINEPREFIX/drive_c/RecordedAt$dpi/readme.txt" ] ||
        fail "the scenario recorded at $dpi DPI did not install into the typed folder"
    grep -aq 'matched despite a different caption; recorded: "Fixture Product 1.0 Setup' "$report" ||
        fail "the report of the scenario recorded at $dpi DPI does not say that version 1.1's window was taken"
}
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver -k
    wineserver -w
}

rm -rf "$recorded"
mkdir -p "$recorded"
cp "$fixtures/FixtureProductSetup-1.0.exe" "$recorded/Setup.exe"
LC_ALL=C.UTF-8 "$(dirname "$0")/../../cmake/wine-run.sh" "${recording_test[@]}" || fail "the recording at 96 DPI failed"

export WINEPREFIX=$build/fresh-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
set_dpi 144
replay 96
cp "$fixtures/FixtureProductSetup-1.0.exe" "$recorded/Setup.exe"
LC_ALL=C.UTF-8 wine "${recording_test[@]}" 2> >(grep -v -e wine32 -e multiarch >&2) || fail "the recording at 144 DPI failed"
set_dpi 96
replay 144
echo "1 passed, 0 failed"
