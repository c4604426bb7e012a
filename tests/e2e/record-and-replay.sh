#!/usr/bin/env bash
# A package recorded on one machine installs on another, whose installer is the product's next version. The test
# DISABLED_<kind>...ForAnotherMachine of RecordingE2eTest records version 1.0 of a real installer with real input
# and leaves its scenario in the build's "recorded" folder; a fresh prefix plays it against version 1.1, whose
# captions differ in the version. Each direct run must end with exit code 0, its installer must put its files
# into the folder typed during the recording, and its report must say that version 1.1's window was taken.
# Nsis: the 32-bit NSIS installer (put at recorded\Setup.exe), recorded at 96 DPI in the build's prefix and
#   played in a fresh one at 144 DPI (Wine's LogPixels); then recorded again at 144 DPI and played at 96. The
#   second recording is made in the fresh prefix, so that the build's prefix, which every other test uses,
#   stays at 96 DPI even when this script is interrupted.
# Inno: the Inno Setup installer, taken from the 32-bit Program Files, which the fresh prefix gets from
#   recorded/drive_c, installing into a folder typed in the 64-bit Program Files; played against version 1.0
#   as recorded, then against 1.1 put in its place.
# Msi: the 32-bit Windows Installer package (put at recorded\Setup.msi), which msiexec shows as a new window for
#   every page; played against version 1.1 with the mouse. Each play removes the product first, so that another
#   delivery of the same scenario is one more line.
# Finch: the 32-bit installer whose pages differ only in "Step N of 3", recorded with the program on the fixed
#   disk C: and a folder typed on C:, played with the program on the fresh prefix's CD-ROM drive E:: every page in
#   its order, into the folder typed, not one on the disc.
# With "hidden" after the kind, every play starts the program on the window station VelmoraHidden, which no
# screen shows (tests/fixtures/StartOnDesktop.exe makes it), as a fleet tool's service would: there no click can
# land, and each run must play its steps by window messages and say so in its report.
# Usage: record-and-replay.sh <build folder> Nsis|Inno|Msi|Finch [hidden]; runs inside the tests' virtual display.
set -euo pipefail
build=$1
kind=$2
hidden=${3:-}
# ctest sets VELMORA_NO_32BIT where this machine cannot start 32-bit programs (cmake/WineLoader.cmake); every kind
# but the Windows Installer package plays a 32-bit installer, and 77 is the tests' "skipped".
if [ "$kind" != Msi ] && [ -n "${VELMORA_NO_32BIT:-}" ]; then
    echo "record and replay: skipped: $VELMORA_NO_32BIT"
    exit 77
fi
by_messages='press replayed by window messages'
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
    --gtest_filter="RecordingE2eTest.DISABLED_$kind*")
# Plays a scenario with $program: play <scenario in the recorded folder, or a Windows path> <what it is>
# <file the installer must write, below C:> <recorded caption> [more switches of the program].
program=$build/velmora.exe
play() {
    local report=$recorded/report.txt code=0 scenario=$1
    [[ $scenario == ?:\\* ]] || scenario=$(windows_path "$recorded/$1")
    rm -f "$report"
    local start=("$program")
    [ "$hidden" != hidden ] ||
        start=("$fixtures/StartOnDesktop.exe" 'VelmoraHidden\Default' "$(windows_path "$program")")
    LC_ALL=C.UTF-8 timeout 180 wine "${start[@]}" /LOG="$(windows_path "$report")" "${@:5}" \
        /inst "$scenario" >/dev/null 2>&1 || code=$?
    [ "$code" = 0 ] || fail "$2 ended with exit code $code: $(grep -a '^Result' "$report")"
    [ "$hidden" != hidden ] || grep -aqF "$by_messages" "$report" ||
        fail "the report of $2 on the hidden window station does not say its steps went by window messages"
    [ -f "$WINEPREFIX/drive_c/$3" ] || fail "$2 did not install into the typed folder"
    [ -z "$4" ] || grep -aqF "matched despite a different caption; recorded: \"$4" "$report" ||
        fail "the report of $2 does not say that version 1.1's window was taken"
}
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f /reg:64 >/dev/null 2>&1
    wineserver -k
    wineserver -w
}

rm -rf "$recorded"
mkdir -p "$recorded"
[ "$kind" != Nsis ] || cp "$fixtures/FixtureProductSetup-1.0.exe" "$recorded/Setup.exe"
[ "$kind" != Msi ] || cp "$fixtures/MsiProductSetup-1.0.msi" "$recorded/Setup.msi"
LC_ALL=C.UTF-8 "$(dirname "$0")/../../cmake/wine-run.sh" "${recording_test[@]}" || fail "the recording failed"

export WINEPREFIX=$build/fresh-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
rm -rf "$WINEPREFIX"
# The prefix goes only once its server has ended: the next check makes a prefix of the same name.
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1 || fail "the fresh prefix could not be made"
if [ "$kind" = Nsis ]; then
    set_dpi 144
    cp "$fixtures/FixtureProductSetup-1.1.exe" "$recorded/Setup.exe"
    play FixtureProduct-96.SCN "the scenario recorded at 96 DPI" RecordedAt96/readme.txt "Fixture Product 1.0 Setup"
    cp "$fixtures/FixtureProductSetup-1.0.exe" "$recorded/Setup.exe"
    LC_ALL=C.UTF-8 wine "${recording_test[@]}" 2> >(grep -v -e wine32 -e multiarch >&2) ||
        fail "the recording at 144 DPI failed"
    set_dpi 96
    cp "$fixtures/FixtureProductSetup-1.1.exe" "$recorded/Setup.exe"
    play FixtureProduct-144.SCN "the scenario recorded at 144 DPI" RecordedAt144/readme.txt \
        "Fixture Product 1.0 Setup"
elif [ "$kind" = Msi ]; then
    wineserver -w
    cp "$fixtures/MsiProductSetup-1.1.msi" "$recorded/Setup.msi"
    play_msi() {
        wine msiexec /x "$(windows_path "$recorded/Setup.msi")" /qn >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX/drive_c/Msi Recorded"
        play MsiProduct.SCN "the Windows Installer scenario $*" "Msi Recorded/readme.txt" \
            "Msi Fixture Product 1.0 Setup" "$@"
    }
    play_msi
elif [ "$kind" = Finch ]; then
    # The disc: the program, its language files and the package, and a settings file that only a start from
    # a CD-ROM or removable drive reads. The installer stays on C:, where it was recorded.
    disc=$recorded/disc
    mkdir -p "$disc/FromTheDisc"
    cp "$build/velmora.exe" "$recorded/Finch.SCN" "$disc/"
    cp -r "$build/language" "$disc/"
    printf '[General]\r\nSCNFolder=E:\\FromTheDisc\r\n' >"$disc/velmora.ini"
    cp -r "$recorded/drive_c/." "$WINEPREFIX/drive_c/"
    # Wine reads its drives' types when its server starts; reg.exe is 32-bit, /reg:64 writes where Wine reads.
    ln -sfn "$disc" "$WINEPREFIX/dosdevices/e:"
    wine reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f /reg:64 >/dev/null 2>&1
    wineserver -k
    wineserver -w
    program='E:\velmora.exe'
    play 'E:\Finch.SCN' "the scenario recorded on the fixed disk, played from the CD-ROM" \
        "Recorded Finch/readme.txt" ""
    wine reg query 'HKCU\Software\VB and VBA Program Settings\Velmora\Path' /v FolderSCN /reg:64 2>/dev/null |
        grep -q FromTheDisc || fail "the program did not read the disc's settings: Wine did not report E: as a CD-ROM"
    [ ! -e "$disc/Recorded Finch" ] || fail "the typed folder was taken to the disc"
    report=$recorded/report.txt
    grep -aqF 'Installer: C:\Velmora Setups\FinchSetup.exe' "$report" || fail "the installer was not looked for on C:"
    ! grep -aqF 'despite a different caption' "$report" || fail "a page was taken for another: $(grep -a despite "$report")"
    # Each page's window by its own caption: the pages came in the recorded order.
    grep -aq '^Result: scenario played to the end' "$report" || fail "the scenario was not played to its end"
else
    wineserver -w
    cp -r "$recorded/drive_c/." "$WINEPREFIX/drive_c/"
    installed="Program Files/Inno Recorded"
    play InnoProduct.SCN "the Inno Setup scenario" "$installed/readme.txt" ""
    grep -qF 'Folder=C:\Program Files\Inno Recorded' "$WINEPREFIX/drive_c/$installed/settings.ini" ||
        fail "the Inno Setup installer's task did not write the typed folder"
    rm -rf "${WINEPREFIX:?}/drive_c/$installed"
    cp "$fixtures/InnoProductSetup-1.1.exe" "$WINEPREFIX/drive_c/Program Files (x86)/Velmora Setups/InnoProductSetup.exe"
    play InnoProduct.SCN "the Inno Setup scenario against version 1.1" "$installed/readme.txt" \
        "Setup - Inno Fixture Product version 1.0"
fi
echo "1 passed, 0 failed"
