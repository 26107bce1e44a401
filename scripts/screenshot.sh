#!/usr/bin/env bash
# Takes a PNG screenshot of Velmora's window as it opens, on a private Xvfb.
# Usage: scripts/screenshot.sh [OUT.png] [velmora.exe]   (builds first with the presets)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/docs/screenshot.png}
exe=${2:-}
source scripts/wine-env.sh
trap stop_wine_and_xvfb EXIT

if [ -z "$exe" ]; then
    if machine_runs_32bit; then arch=win32; else arch=win64; fi
    cmake --preset $arch >/dev/null
    cmake --build --preset $arch --target velmora
    exe=$root/build/$arch/velmora.exe
fi
if [ "$(od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$exe") + 4)) -N2 "$exe" | tr -d ' ')" = 8664 ]; then
    arch=win64
else
    arch=win32
fi

VELMORA_FORCE_XVFB=1 start_xvfb
make_wine_prefix "$root/build/wine/shot-$arch" "$arch"
# Xvfb has no window manager: let Wine draw the title bar and frame itself.
"$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
timeout 60 scripts/wine-run.sh "$exe" 2>/dev/null &
sleep 4
mkdir -p "$(dirname "$out")"
# Crop to the window: Xvfb has no window manager, so the window is all there is.
import -display "$DISPLAY" -window root -trim "$out"
kill %1 2>/dev/null || true
echo "screenshot: $out"
