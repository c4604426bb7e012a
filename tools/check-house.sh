#!/usr/bin/env bash
# Checks the rules of the house that a compiler cannot see and prints every place that breaks one; exits 1
# when there is one.
# - Includes point one way: a room uses only itself, the rooms below it and the ports; a core (any file
#   outside a win32/ folder) never includes a win32/ header; the ports use nothing of the rooms.
# - Names say what things are: no Visual Basic control prefixes, no g_ or m_, no _Click or _Timer (string
#   literals are left out, since user-visible texts and language sections keep their old names); variables
#   and data members are camelCase, private data members of a class end in an underscore; one name per idea
#   (the Win32 implementation of a port is Win32<Port>, the statistics window is StatisticsWindow, control
#   ids are constants in the namespace of their window, not enums).
# - Every C++ file is formatted as clang-format formats it.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
level() {
    case "$1" in
        platform) echo 0 ;;
        base) echo 1 ;;
        scenario | ui) echo 2 ;;
        recording | paths | discs) echo 3 ;;
        reports) echo 4 ;;
        playback) echo 5 ;;
        packages) echo 6 ;;
        app) echo 7 ;;
        *) echo "" ;;
    esac
}
bad=0
report() {
    if [ -n "$1" ]; then
        echo "$1"
        bad=1
    fi
}
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

sources=$(git ls-files '*.cpp' '*.h' '*.hpp' '*.rc')
# Each source once with its string literals and comments blanked, as "file:line:text" lines.
stripped=$(echo "$sources" | while read -r f; do
    sed -E 's/"([^"\\]|\\.)*"/""/g; s|//.*$||' "$f" | grep -n '' | sed "s|^|$f:|"
done)

report "$(echo "$stripped" |
    grep -E '\b(frm|lbl|cmd|img|tmr|mnu|chk|txt|lst|opt)[A-Z]|\b[gm]_[A-Za-z]|_(Click|Timer)\b' || true)"

# A declaration of a variable or data member: a type, a name that starts with a capital letter and a lower-case
# one after it (so constants such as kMax and macros such as MAX_PATH are left alone), then "=", "{", "[" or ";".
report "$(echo "$stripped" |
    grep -E '^[^:]+:[0-9]+:\s*(mutable |const |inline |volatile )*[A-Za-z_][A-Za-z0-9_:<>,]*[*&]* [*&]?[A-Z][a-z][A-Za-z0-9]*\s*(=[^=].*|\{.*|\[.*)?;\s*$' |
    grep -vE ':\s*(return|using|typedef|friend|class|struct|enum|union|namespace|case|goto|delete|throw|static_assert|co_return|template)\b' |
    grep -vE '\(' | sed 's/$/  (variables and data members are camelCase)/' || true)"

# Private data members of a class end in an underscore. Access labels stand two columns in, members four.
report "$(echo "$sources" | grep -E '\.(h|cpp)$' | while read -r f; do
    sed -E 's/"([^"\\]|\\.)*"/""/g; s|//.*$||' "$f" | awk -v f="$f" '
        /^( *)(class|struct) [A-Za-z_][A-Za-z0-9_]*[^;]*\{ *$/ { inClass = 1; priv = ($0 ~ /class /) ; next }
        /^};/ { inClass = 0; next }
        inClass && /^  (public|protected):/ { priv = 0; next }
        inClass && /^  private:/ { priv = 1; next }
        inClass && priv && /^    [A-Za-z_][A-Za-z0-9_:<>, *&]* [*&]?[a-z][A-Za-z0-9]*[^_A-Za-z0-9(]*( = [^;(]*| *\{[^}]*\})?;$/ &&
            !/^    (static|using|typedef|friend|enum|class|struct|return) / {
            print f ":" NR ": " $0 "  (private data members end in an underscore)"
        }'
done)"

report "$(echo "$stripped" | grep -E '\bclass [A-Za-z0-9]+Win32\b' | sed 's/$/  (a port'"'"'s Win32 implementation is Win32<Port>)/' || true)"
report "$(echo "$stripped" | grep -E '\b(StatWindow|stat_window)\b' | sed 's/$/  (the statistics window is StatisticsWindow)/' || true)"
report "$(git ls-files '*Ids.h' | xargs -r grep -nE '^\s*enum\b|\bkId[A-Z]' | sed 's/$/  (control ids are constants in their window'"'"'s namespace)/' || true)"

if command -v clang-format >/dev/null; then
    report "$(echo "$sources" | grep -vE '\.rc$' | xargs clang-format --dry-run 2>&1 | sed -nE 's/^([^ ]+):([0-9]+):[0-9]+: (warning|error).*/\1:\2:  (not formatted as clang-format formats it)/p' |
        sort -t: -k1,1 -u || true)"
else
    report "clang-format is missing: tools/install-deps.sh installs it"
fi
exit $bad
