#!/usr/bin/env bash
# Runs one Windows program under Wine in code page 936, picking the 32- or
# 64-bit loader from the program's PE header. CTest uses it as the emulator
# for cross-built tests; the run and test scripts set WINEPREFIX and DISPLAY.
set -euo pipefail
exe=$1

# PE machine field: 0x014c is i386, 0x8664 is x86-64.
pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')
if [ "$machine" = 8664 ]; then
    loader=/usr/lib/wine/wine64
    arch=win64
else
    loader=/usr/lib/wine/wine
    arch=win32
fi

export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora/wine-$arch}
export WINEARCH=$arch WINELOADER=$loader
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine takes its ANSI code page from the locale variables, even without the
# glibc locale installed: zh_CN gives code page 936, the program's home.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
exec "$loader" "$@"
