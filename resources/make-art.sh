#!/usr/bin/env bash
# Redraws the icons and bitmaps in resources/images from resources/art with the host compiler. Run it after
# changing a drawing and commit the images with it; a unit test fails while the two disagree.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -o "$work/make-art" "$here"/art/*.cpp
"$work/make-art" "$here/images"
