#!/usr/bin/env bash
# Builds velmora.exe and starts it under Wine on its demo folder: the tests' fixture wizard and their NSIS
# installer, a scenario for each and an order file. With a display the main window opens there. Without one the
# program runs in a virtual display: the script saves a screenshot of the main window listing the packages and
# one of the control panel playing a package, and fails loudly when a window does not come.
# VELMORA_DEMO_NO_BUILD=1 skips the build (the test of this script uses the tree it was built in).
set -euo pipefail
cd "$(dirname "$0")/.."
script=$PWD/tools/demo.sh

# Everything of a run without a display happens inside one virtual display (see the end of this script).
headless() {
    local exe=$1 folder=$2 out=$3
    fail() {
        echo "demo: $1" >&2
        wineserver -k 2>/dev/null || true
        exit 1
    }
    # Waits up to $1 seconds for a visible window whose title matches $2; its id, or nothing.
    wait_window() { timeout "$1" xdotool search --sync --onlyvisible --name "$2" 2>/dev/null | head -n 1 || true; }
    # A screenshot that shows something: more than a handful of colours and not mostly black.
    shoot() {
        import -window root "$1"
        local colours mean
        colours=$(convert "$1" -format %k info:)
        mean=$(convert "$1" -colorspace Gray -format '%[fx:int(mean*1000)]' info:)
        [ "$colours" -gt 16 ] && [ "$mean" -gt 50 ] || fail "the screenshot $1 is blank ($colours colours)"
    }
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
    # The virtual display has no window manager: Wine draws the windows' captions and borders itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f /reg:64 >/dev/null 2>&1
    wine "$exe" /add "$folder" >/dev/null 2>&1 &
    [ -n "$(wait_window 120 'Velmora Runwright')" ] || fail "the main window did not appear within 120 s"
    # Two packages' tips are read in a moment; the second lets the window finish painting.
    sleep 2
    shoot "$out/demo-main-window.png"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true

    wine "$exe" /inst "$folder\\Fixture Wizard.SCN" >/dev/null 2>&1 &
    local run=$!
    [ -n "$(wait_window 120 'Fixture Setup')" ] || fail "the control panel did not start the demo installer"
    sleep 1
    shoot "$out/demo-playing.png"
    timeout 120 sh -c "while kill -0 $run 2>/dev/null; do sleep 0.5; done" || fail "the demo run did not end"
    wineserver -k 2>/dev/null || true
}
if [ "${1:-}" = --headless ]; then
    shift
    headless "$@"
    exit 0
fi

if [ -z "${VELMORA_DEMO_NO_BUILD:-}" ]; then
    tools/install-deps.sh
    cmake --preset native >/dev/null
    cmake --build --preset native --target scntool
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target velmora FixtureWizard FixtureNsisInstaller
fi

# Where this machine cannot start Wine's 32-bit loader, its 64-bit one runs the demo, as for the tests.
wine --version >/dev/null 2>&1 || export PATH=$PWD/cmake/wine64-only:$PATH
build=$PWD/build/win64
demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp "$build/tests/fixtures/FixtureWizard.exe" "$build/tests/fixtures/FixtureProductSetup.exe" "$demo/"

# Wine shows the host's root as drive Z:. Computing the paths here, rather than with winepath, starts no Wine
# before the display is there: a server started without a display keeps the program's windows off it.
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
# Texts in the text form escape a backslash as two.
escaped() { local path; path=$(windows_path "$1"); printf '%s' "${path//\\/\\\\}"; }
for text in demo/*.txt; do
    name=$(basename "$text" .txt)
    content=$(<"$text")
    content=${content//@WIZARD@/"$(escaped "$demo/FixtureWizard.exe")"}
    content=${content//@NSIS@/"$(escaped "$demo/FixtureProductSetup.exe")"}
    content=${content//@RESULT@/"$(escaped "$demo/$name.log")"}
    printf '%s\n' "$content" >"$demo/$name.txt"
    build/native/tools/scntool build "$demo/$name.txt" -o "$demo/$name.SCN" --codepage 1252
    rm "$demo/$name.txt"
done
# The order the packages are listed and installed in: the NSIS product first.
printf 'Fixture Product\r\nFixture Wizard\r\n' >"$demo/Position.lst"

# The demo has a prefix of its own, so it never meets the tests' Wine server and its display.
export WINEPREFIX=$build/demo-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
folder=$(windows_path "$demo")
echo "Demo folder: $folder"
echo "Play a scenario with: WINEPREFIX=$WINEPREFIX wine build/win64/velmora.exe /inst \"$folder\\Fixture Wizard.SCN\""
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build/velmora.exe" /add "$folder"
fi

xvfb-run -a -s "-screen 0 1280x1024x24" bash "$script" --headless "$build/velmora.exe" "$folder" "$build"
echo "No display here: the program ran in a virtual one."
echo "Screenshots: $build/demo-main-window.png (the main window and its packages)"
echo "             $build/demo-playing.png (the control panel playing the fixture wizard)"
