#!/usr/bin/env bash
# What a replay costs beyond the installer's own work: the NSIS fixture installer played by a direct run at the
# fastest speed ("/SPEED=0 /nostat /inst") against the same installer installing silently ("/S /D="), the two
# alternating in one Wine session (one wineserver kept alive), after one round that is not counted. Gates on the
# median round: the replay takes at most MAX_RATIO times the silent install, and each step adds at most
# MAX_STEP_MS. What a step adds is measured against a direct run of a package with no steps whose installer is
# the silent install itself: that run costs what the program costs once (its start, its report, its end) and
# what the installer costs on its own, so what the replay takes beyond it is what its steps take.
# The virtual display has no window manager, and Wine waits two seconds for one to withdraw a managed window
# (the installer's frame, when it closes) before it gives up: a wait the silent install, which shows no window,
# never makes, and Windows never makes either. So the installer's windows are not left to a window manager
# (Wine's "Managed" setting, for this program's name alone).
# Now and then Wine fails to bring a new process up at all, the program's or the installer's, which no timing
# says anything about: a round that fails is told and played once more, and a second failed round fails the
# check. The runs are held to the one-minute step time-out, so that a window that never comes ends its run.
# Usage: replay-cost.sh <build folder> [rounds]; runs inside the tests' virtual display.
set -euo pipefail
build=$1
rounds=${2:-7}
readonly MAX_RATIO=5 MAX_STEP_MS=100 STEPS=5
src=$(cd "$(dirname "$0")/../../.." && pwd)
work=$build/replay-cost
fail() {
    echo "replay cost: $1" >&2
    exit 1
}
windows_path() {
    local path=Z:$1
    echo "${path//\//\\}"
}
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
rm -rf "$work"
mkdir -p "$work"
setup=$work/BenchSetup.exe
cp "$build/tests/fixtures/FixtureProductSetup.exe" "$setup"
# The pages after the welcome page carry a blank after the product's caption.
cat >"$work/bench.txt" <<SCENARIO
format 1
codepage 1252
screen 1280 1024
version 1 2
description "the replay cost check"

step 1
  window "#32770" "Fixture Product Setup" 1
  window "Button" "&Next >" 1
  event left press 30 10
  event left release 0 0

step 2
  window "#32770" "Fixture Product Setup " 1
  window "Button" "I &Agree" 1
  event left press 30 10
  event left release 0 0

step 3
  window "#32770" "Fixture Product Setup " 1
  window "#32770" "" 1
  window "Edit" "" 1
  event left press 60 8
  event left release 0 0
  text "C:\\\\BenchReplay"

step 4
  window "#32770" "Fixture Product Setup " 1
  window "Button" "&Install" 1
  event left press 30 10
  event left release 0 0

step 5
  window "#32770" "Fixture Product Setup " 1
  window "Button" "&Finish" 1
  event left press 30 10
  event left release 0 0

installer "$(windows_path "$setup" | sed 's/\\/\\\\/g')"
commandline ""
SCENARIO
cat >"$work/empty.txt" <<SCENARIO
format 1
codepage 1252
screen 1280 1024
version 1 2
description "the replay cost check: no steps"

installer "$(windows_path "$setup" | sed 's/\\/\\\\/g')"
commandline "/S /D=C:\\\\BenchEmpty"
SCENARIO
# The runner makes the prefix when it is missing and keeps its server running for the whole check.
"$src/cmake/wine-run.sh" "$build/tools/scntool.exe" build "$(windows_path "$work/bench.txt")" \
    -o "$(windows_path "$work/bench.SCN")" >/dev/null || fail "scntool could not build the scenario"
"$src/cmake/wine-run.sh" "$build/tools/scntool.exe" build "$(windows_path "$work/empty.txt")" \
    -o "$(windows_path "$work/empty.SCN")" >/dev/null || fail "scntool could not build the scenario with no steps"
wine reg add 'HKCU\Software\Wine\AppDefaults\BenchSetup.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    fail "Wine's setting for the installer could not be written"
drive_c=$WINEPREFIX/drive_c
now_ms() { echo $(($(date +%s%N) / 1000000)); }
silent() {
    rm -rf "$drive_c/BenchSilent"
    local start
    start=$(now_ms)
    timeout -k 5 60 wine "$setup" /S '/D=C:\BenchSilent' >/dev/null 2>&1 || fail "the silent install failed"
    echo $(($(now_ms) - start))
    [ -f "$drive_c/BenchSilent/readme.txt" ] || fail "the silent install installed nothing"
}
replay() {
    rm -rf "$drive_c/BenchReplay"
    local start code=0 report=$work/report.txt
    rm -f "$report"
    start=$(now_ms)
    timeout -k 5 120 wine "$build/velmora.exe" /SPEED=0 /TIMEOUT=1 /nostat /LOG="$(windows_path "$report")" \
        /inst "$(windows_path "$work/bench.SCN")" >/dev/null 2>&1 || code=$?
    echo $(($(now_ms) - start))
    [ "$code" = 0 ] ||
        fail "the replay ended with exit code $code: $(grep -a '^Result' "$report" 2>/dev/null || true)"
    [ -f "$drive_c/BenchReplay/readme.txt" ] || fail "the replay installed nothing into the typed folder"
}
empty() {
    rm -rf "$drive_c/BenchEmpty"
    local start code=0
    start=$(now_ms)
    timeout -k 5 120 wine "$build/velmora.exe" /SPEED=0 /TIMEOUT=1 /nostat /inst "$(windows_path "$work/empty.SCN")" \
        >/dev/null 2>&1 || code=$?
    echo $(($(now_ms) - start))
    [ "$code" = 0 ] || fail "the run of the package with no steps ended with exit code $code"
    [ -f "$drive_c/BenchEmpty/readme.txt" ] || fail "the package with no steps installed nothing"
}
ratios=()
steps=()
failed=0
for ((round = 0; round <= rounds; )); do
    if ! { s=$(silent) && r=$(replay) && e=$(empty); }; then
        ((++failed < 2)) || fail "a second round failed"
        echo "round $round failed; it is played once more"
        continue
    fi
    if ((round > 0)); then
        ratios+=("$(awk -v s="$s" -v r="$r" 'BEGIN { printf "%.3f %d %d", r / s, s, r }')")
        steps+=("$(((r - e) / STEPS)) $e")
        echo "round $round: silent $s ms, replay $r ms, no steps $e ms"
    fi
    ((++round))
done
middle=$(((rounds + 1) / 2))
read -r ratio s r <<<"$(printf '%s\n' "${ratios[@]}" | sort -n | sed -n "${middle}p")"
read -r per_step e <<<"$(printf '%s\n' "${steps[@]}" | sort -n | sed -n "${middle}p")"
echo "median rounds: silent install $s ms, replay $r ms at the fastest speed: ratio $ratio (at most $MAX_RATIO);" \
    "$per_step ms a step beyond a run of the package with no steps ($e ms) over $STEPS steps (at most $MAX_STEP_MS)"
awk -v ratio="$ratio" -v max="$MAX_RATIO" 'BEGIN { exit !(ratio <= max) }' ||
    fail "the replay takes $ratio times the silent install"
[ "$per_step" -le "$MAX_STEP_MS" ] || fail "each step costs $per_step ms beyond the installer's own time"
