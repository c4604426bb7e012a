#!/usr/bin/env bash
# The disc that the wizard made (DiscWizardE2eTest leaves it in C:\Velmora Disc of the build's Wine prefix)
# becomes drive E:, a CD-ROM, with the fixture wizard in its Setup folder, the installer its packages name as
# %CDROM%\Setup\FixtureWizard.exe; DiscFromCdRomE2eTest then starts the program from it.
# Usage: disc-made.sh <build folder>; runs inside the tests' virtual display.
set -euo pipefail
build=$1
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
disc="$WINEPREFIX/drive_c/Velmora Disc"
[ -f "$disc/autorun.inf" ] || {
    echo "disc made: the wizard's test left no disc in $disc" >&2
    exit 1
}
mkdir -p "$disc/Setup"
cp "$build/tests/fixtures/FixtureWizard.exe" "$disc/Setup/"
{
    flock 9
    # Wine reads its drives' types when its server starts: the server of the tests is stopped first.
    # reg.exe is a 32-bit program: /reg:64 gives it the registry that Wine and the 64-bit program see.
    wineserver -k 2>/dev/null || true
    wineserver -w
    ln -sfn "$disc" "$WINEPREFIX/dosdevices/e:"
    # Where the 64-bit Wine reads it: with wine32 installed, "wine reg" is the 32-bit tool, which writes below
    # Wow6432Node unless told otherwise.
    wine reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f /reg:64 >/dev/null 2>&1 9>&-
    wineserver -k
    wineserver -w
} 9>"$build/wineprefix.lock"

status=0
LC_ALL=C.UTF-8 wine "$build/tests/e2e/velmora_disc_e2e_tests.exe" --gtest_filter='DiscFromCdRomE2eTest.*' \
    2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2) ||
    status=$?
# The server this script started holds the test's output open; ctest would wait for it.
wineserver -k
exit $status
