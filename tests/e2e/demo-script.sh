#!/usr/bin/env bash
# The README's first command as a newcomer without a display meets it: tools/demo.sh must end well and leave
# screenshots that show the main window with its packages and the control panel at work.
# Usage: demo-script.sh <source folder>
set -euo pipefail
cd "$1"
env -u DISPLAY VELMORA_DEMO_NO_BUILD=1 tools/demo.sh
for picture in build/win64/demo-main-window.png build/win64/demo-playing.png; do
    colours=$(convert "$picture" -format %k info:)
    [ "$colours" -gt 16 ] || { echo "$picture has $colours colours: blank"; exit 1; }
done
# The main window stands at the top left of the virtual screen: that corner is the light face of a window.
corner=$(convert build/win64/demo-main-window.png -crop 500x350+40+60 -colorspace Gray -format '%[fx:int(mean*100)]' info:)
[ "$corner" -gt 60 ] || { echo "the main window's area is dark ($corner%)"; exit 1; }
echo "1 passed, 0 failed"
