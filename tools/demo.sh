#!/usr/bin/env bash
# Builds velmora.exe and starts it on its demo folder under Wine: a folder with a demo installer (the tests'
# fixture wizard) and a scenario that plays it. Without a display it runs in a virtual one and saves a
# screenshot to build/win64/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native --target scntool
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target velmora FixtureWizard

build=$PWD/build/win64
demo=$build/demo
mkdir -p "$demo"
cp "$build/tests/fixtures/FixtureWizard.exe" "$demo/"

export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
windows_path() { winepath -w "$1" 2>/dev/null; }
# Texts in the text form escape a backslash as two.
escaped() { local path; path=$(windows_path "$1"); printf '%s' "${path//\\/\\\\}"; }
for text in demo/*.txt; do
    name=$(basename "$text" .txt)
    content=$(<"$text")
    wizard=$(escaped "$demo/FixtureWizard.exe")
    result=$(escaped "$demo/$name.log")
    content=${content//@WIZARD@/"$wizard"}
    content=${content//@RESULT@/"$result"}
    printf '%s\n' "$content" >"$demo/$name.txt"
    build/native/tools/scntool build "$demo/$name.txt" -o "$demo/$name.SCN" --codepage 1252
done

folder=$(windows_path "$demo")
echo "Demo folder: $folder"
echo "Play its scenario with: wine build/win64/velmora.exe /inst \"$folder\\Fixture Wizard.SCN\""
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build/velmora.exe" /add "$folder"
fi
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    wine "$1" /add "$2" &
    timeout 60 xdotool search --sync --name "Velmora Runwright" >/dev/null
    sleep 1
    import -window root "$3"
    wineserver -k || true' sh "$build/velmora.exe" "$folder" "$build/demo.png"
echo "No display here: the program ran in a virtual one; its screenshot is $build/demo.png"
