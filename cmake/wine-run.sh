#!/usr/bin/env bash
# Runs a Windows program of this build under Wine, as ctest's cross-compiling emulator. Every build folder
# has its own Wine prefix, created once (about ten seconds) by whichever test starts first, and one
# persistent wineserver for the run; the test labelled wine-stop ends it.
set -u
exe=$1
build=$(cd "$(dirname "$exe")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = / ] && build=$(pwd)

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

{
    flock 9
    # The server and the prefix's services outlive this script. They must not inherit the lock (9>&-), or the
    # next test waits for it forever, nor a test's output, or ctest waits for that to close; so they are
    # started here, detached from both, and never by a test's own wine.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 9>&-
        # The server wineboot started ends a few seconds later. Its services must be gone before the
        # persistent server starts its own: two services.exe in one prefix keep the service database locked,
        # and no service (the Task Scheduler) can be started then.
        wineserver -w 9>&-
    fi
    wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
    services=no
    for p in $(pgrep -f 'system32.services\.exe'); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && services=yes
    done
    [ "$services" = yes ] || wineboot </dev/null >/dev/null 2>&1 9>&-
} 9>"$build/wineprefix.lock"

# The program writes into files, not pipes, which are passed on once it has ended: a process that Wine starts
# on the program's behalf (its services, when the prefix's are not running) inherits the program's standard
# handles and outlives it, and on a pipe it would hold this script, and ctest after it, for ever.
# Now and then Wine fails to bring a new process up at all: its start.exe fallback then says "Application could
# not be started", or the process ends with a failure before it prints a thing. The program never ran, so that
# one failure says nothing about it, and it is started once more. A test program is known to have run when it
# printed anything: GoogleTest prints its banner and flushes the line of each test as the test begins. Any other
# failure, and a second one of this kind, is the test's.
said=$(mktemp)
complained=$(mktemp)
trap 'rm -f "$said" "$complained"' EXIT
for attempt in 1 2; do
    wine "$@" >"$said" 2>"$complained"
    status=$?
    cat "$said"
    complaints=$(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' \
                     -e 'apt-get install wine32' "$complained")
    [ -n "$complaints" ] && printf '%s\n' "$complaints" >&2
    never_ran=no
    grep -q '^Application could not be started' "$said" && never_ran=yes
    [[ " $* " == *" --gtest_filter="* ]] && [ ! -s "$said" ] && [ -z "$complaints" ] && never_ran=yes
    if [ "$status" -ne 0 ] && [ "$attempt" = 1 ] && [ "$never_ran" = yes ]; then
        echo "wine-run.sh: Wine did not start $exe (exit status $status); starting it once more" >&2
        continue
    fi
    exit "$status"
done
