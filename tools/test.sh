#!/usr/bin/env bash
# Builds everything and runs every test label: unit (also under AddressSanitizer and UBSan), bench and fuzz on
# the host, win32 and e2e under Wine in a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"

status=0
ctest --preset native || status=1
# One virtual display for all the Windows tests; the Wine prefix lives in build/win64.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win64 || status=1
exit $status
