#!/usr/bin/env bash
# A run of three packages that restarts Windows after the first and goes on at the next logon. Wine's restart
# ends the windows' programs but not its session: the prefix's server and services keep running, and nothing
# is started at a "next logon", as Wine fires no logon trigger. So the first session is ended here as a restart
# ends it (wineserver -k), and the second test starts the command line of the task that the program registered,
# read back from where Wine's scheduler keeps it, as Windows would start it at the user's logon. In between, as
# a machine's disk may be changed while it restarts, the second package's scenario is changed: the resumed run
# must refuse it and play the third.
# Usage: restart-resume.sh <build folder>; runs inside the tests' virtual display.
set -euo pipefail
build=$1
here=$(dirname "$0")
tests=("$build/tests/e2e/velmora_e2e_tests.exe" --gtest_also_run_disabled_tests)
fail() {
    echo "restart and resume: $1" >&2
    exit 1
}

LC_ALL=C.UTF-8 "$here/../../cmake/wine-run.sh" "${tests[@]}" \
    --gtest_filter='RunReportE2eTest.DISABLED_ARunOfThreePackagesRestartsWindowsAfterTheFirst' ||
    fail "the run did not restart Windows after its first package"
export WINEPREFIX=$build/wineprefix
{
    flock 9
    wineserver -k 2>/dev/null || true
    wineserver -w
} 9>"$build/wineprefix.lock"
printf 'changed' >>"$WINEPREFIX/drive_c/Velmora restart e2e/B.SCN" || fail "the second scenario is not there"
LC_ALL=C.UTF-8 "$here/../../cmake/wine-run.sh" "${tests[@]}" \
    --gtest_filter='RunReportE2eTest.DISABLED_TheRunGoesOnAtTheNextLogonWithoutThePackageChangedMeanwhile' ||
    fail "the run did not go on after the restart without the changed package"
echo "1 passed, 0 failed"
