#!/usr/bin/env bash
# A package recorded on one machine installs on another: the test DISABLED_<name> of RecordingE2eTest records
# a real installer with real input in the build's Wine prefix and leaves its scenario <scenario>.SCN in the
# build's "recorded" folder, with whatever the other machine needs on its drive C: under recorded/drive_c.
# The scenario is then played by a direct run in a fresh prefix, where the installer must put the file <file>
# (a path below C:, holding the text <text> when one is given) into the folder typed during the recording.
# Usage: record-and-replay.sh <build folder> <name> <scenario> <file> [<text>]; runs in the tests' display.
set -euo pipefail
build=$1
name=$2
file=$4
fail() {
    echo "record and replay: $1" >&2
    exit 1
}

rm -rf "$build/recorded"
LC_ALL=C.UTF-8 "$(dirname "$0")/../../cmake/wine-run.sh" "$build/tests/e2e/velmora_e2e_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter="RecordingE2eTest.DISABLED_$name" || fail "the recording failed"
scn=$build/recorded/$3.SCN
[ -f "$scn" ] || fail "no scenario was recorded"

export WINEPREFIX=$build/fresh-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
[ ! -d "$build/recorded/drive_c" ] || cp -r "$build/recorded/drive_c/." "$WINEPREFIX/drive_c/"
code=0
LC_ALL=C.UTF-8 timeout 180 wine "$build/velmora.exe" /inst "Z:${scn//\//\\}" >/dev/null 2>&1 ||
    code=$?
[ "$code" = 0 ] || fail "the direct run ended with exit code $code"
[ -f "$WINEPREFIX/drive_c/$file" ] || fail "the installer did not put $file into the typed folder"
[ -z "${5:-}" ] || grep -qF "$5" "$WINEPREFIX/drive_c/$file" || fail "$file does not hold $5"
echo "1 passed, 0 failed"
