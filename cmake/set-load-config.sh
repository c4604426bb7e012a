#!/bin/sh
# Points the load-configuration entry of a PE32+ image's data directories at its _load_config_used structure
# (app/win32/LoadConfig.cpp), which GNU ld 2.40 leaves empty, so that Windows reads the image's dependent-load
# flags. Run on the linked image before it is stripped: the symbol says where the structure is.
# Usage: set-load-config.sh NM OBJDUMP IMAGE
set -eu
nm=$1 objdump=$2 image=$3
vma=$("$nm" "$image" | awk '$3 == "_load_config_used" { print $1 }')
base=$("$objdump" -p "$image" | awk '$1 == "ImageBase" { print $2 }')
if [ -z "$vma" ] || [ -z "$base" ]; then
    echo "$image: no _load_config_used symbol or no image base" >&2
    exit 1
fi
# The structure's first field is its size, which the data directory repeats.
bytes=$("$objdump" -s --start-address=0x$vma --stop-address=$((0x$vma + 4)) "$image" | awk '$1 ~ /^[0-9a-f]+$/ && NF > 2 { print $2; exit }')
size=$((0x$(echo "$bytes" | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/')))
pe=$(od -An -tu4 -j60 -N4 "$image" | tr -d ' ')
magic=$(od -An -tx2 -j$((pe + 24)) -N2 "$image" | tr -d ' ')
if [ "$(od -An -c -j"$pe" -N2 "$image" | tr -d ' ')" != PE ] || [ "$magic" != 020b ]; then
    echo "$image is not a PE32+ image" >&2
    exit 1
fi
le32() {
    for shift in 0 8 16 24; do
        printf "\\$(printf %03o $(( ($1 >> shift) & 255 )))"
    done
}
# Entry 10 of the data directories, which start 112 bytes into a PE32+ optional header.
{ le32 $((0x$vma - 0x$base)); le32 "$size"; } | dd of="$image" bs=1 seek=$((pe + 24 + 112 + 10 * 8)) conv=notrunc status=none
