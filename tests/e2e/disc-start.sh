#!/usr/bin/env bash
# A start from a CD-ROM registers nothing: drive E: of the build's Wine prefix becomes a CD-ROM holding a
# copy of the program, which is started there on a machine where ".scn" is not registered yet.
# Usage: disc-start.sh <build folder>; runs inside the tests' virtual display.
set -euo pipefail
build=$1
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
disc=$build/cdrom
settings='HKCU\Software\VB and VBA Program Settings\Velmora'
fail() {
    echo "disc start: $1" >&2
    exit 1
}

rm -rf "$disc"
mkdir -p "$disc"
cp "$build/velmora.exe" "$disc/"
cp -r "$build/language" "$disc/"
# Read only on a start from removable media: what it sets shows that the program knew where it ran from.
mkdir -p "$disc/FromTheDisc"
printf '[General]\r\nSCNFolder=E:\\FromTheDisc\r\n' >"$disc/velmora.ini"
{
    flock 9
    # Wine reads its drives' types when its server starts: the server of the tests is stopped first.
    # reg.exe is a 32-bit program: /reg:64 gives it the registry that Wine and the 64-bit program see.
    wineserver -k 2>/dev/null || true
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 9>&-
    ln -sfn "$disc" "$WINEPREFIX/dosdevices/e:"
    # Where the 64-bit Wine reads it: with wine32 installed, "wine reg" is the 32-bit tool, which writes below
    # Wow6432Node unless told otherwise.
    wine reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f /reg:64 >/dev/null 2>&1 9>&-
    wine reg delete 'HKCR\.scn' /f /reg:64 >/dev/null 2>&1 9>&- || true
    wine reg delete "$settings" /f /reg:64 >/dev/null 2>&1 9>&- || true
    wineserver -k
    wineserver -w
} 9>"$build/wineprefix.lock"

wine 'E:\velmora.exe' >/dev/null 2>&1 &
started=$!
timeout 60 xdotool search --sync --onlyvisible --name 'Velmora Runwright' >/dev/null ||
    fail "the program on the disc showed no main window"
kill "$started" 2>/dev/null || true
wineserver -k
wineserver -w
wine reg query "$settings\\Path" /v FolderSCN /reg:64 2>/dev/null | grep -q 'FromTheDisc' ||
    fail "the program did not take the disc's settings: Wine did not report E: as a CD-ROM"
if wine reg query 'HKCR\.scn' /reg:64 >/dev/null 2>&1; then
    fail "a start from the CD-ROM registered the .scn type"
fi
if wine reg query "$settings\\Install" /v Registry /reg:64 2>/dev/null | grep -q 'REG_SZ *1'; then
    fail "a start from the CD-ROM marked the file type as offered"
fi
wineserver -k
echo "1 passed, 0 failed"
