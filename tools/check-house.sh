#!/usr/bin/env bash
# Checks two rules of the house and prints every place that breaks one; exits 1 when there is one.
# - Includes point one way: a room uses only itself, the rooms below it and the ports; a core (any file
#   outside a win32/ folder) never includes a win32/ header; the ports use nothing of the rooms.
# - Names say what things are: no Visual Basic control prefixes, no g_ or m_, no _Click or _Timer (string
#   literals are left out, since user-visible texts and language sections keep their old names).
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
level() {
    case "$1" in
        platform) echo 0 ;;
        base) echo 1 ;;
        scenario | ui) echo 2 ;;
        recording | paths | discs) echo 3 ;;
        playback) echo 4 ;;
        packages) echo 5 ;;
        app) echo 6 ;;
        *) echo "" ;;
    esac
}
bad=0
while IFS= read -r file; do
    room=${file%%/*}
    from=$(level "$room")
    [ -n "$from" ] || continue
    while IFS=: read -r line target; do
        to_room=${target%%/*}
        [ "$to_room" = resources ] && [[ $file == */win32/* ]] && continue
        to=$(level "$to_room")
        if [ -z "$to" ] || { [ "$to_room" != "$room" ] && [ "$to" -ge "$from" ]; } ||
            { [[ $file != */win32/* ]] && [[ $target == */win32/* ]]; }; then
            echo "$file:$line includes \"$target\""
            bad=1
        fi
    done < <(grep -noE '^#include "[^"]+"' "$file" | sed -E 's/^([0-9]+):#include "(.*)"$/\1:\2/')
done < <(git ls-files '*.cpp' '*.h')
names=$(git ls-files '*.cpp' '*.h' '*.hpp' '*.rc' | while read -r f; do
    sed -E 's/"([^"\\]|\\.)*"//g' "$f" |
        grep -nE '\b(frm|lbl|cmd|img|tmr|mnu|chk|txt|lst|opt)[A-Z]|\b[gm]_[A-Za-z]|_(Click|Timer)\b' | sed "s|^|$f:|"
done || true)
if [ -n "$names" ]; then
    echo "$names"
    bad=1
fi
exit $bad
