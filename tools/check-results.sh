#!/usr/bin/env bash
# GCC does not warn when the [[nodiscard]] result of a virtual call is dropped, and the Win32 side is built with
# MinGW's GCC only; clang, aimed at the same MinGW headers, reads every Win32 source once and fails on a port's
# result that is ignored without saying why (a cast to void with its reason beside it).
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
cxx=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | tail -n 1)
git ls-files '*/win32/*.cpp' 'tools/scntool/*.cpp' | grep -v '^tests/' |
    xargs -P 2 -I{} clang++ --target=x86_64-w64-windows-gnu -std=c++20 -fsyntax-only -nostdinc++ -isystem "$cxx" \
        -isystem "$cxx/x86_64-w64-mingw32" -I. -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
        -D_WIN32_WINNT=0x0A00 -DWINVER=0x0A00 -DVELMORA_VERSION_BUILD=0 -DVELMORA_VERSION_MAJOR=1 \
        -DVELMORA_VERSION_MINOR=2 -Wno-everything -Werror=unused-result {}
