#!/usr/bin/env bash
# Sets up the machine, builds Velmora and starts it under Wine in code page 936.
# Without a display it starts it on a private Xvfb and saves a screenshot to look at.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine-env.sh
trap stop_wine_and_xvfb EXIT

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target velmora
exe=$root/build/win32/velmora.exe
arch=win32
if ! machine_runs_32bit; then
    # The program file stays the 32-bit one; this machine can only run the 64-bit
    # build of the same sources.
    echo "This machine cannot execute 32-bit code: starting the 64-bit build of Velmora instead."
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target velmora
    exe=$root/build/win64/velmora.exe
    arch=win64
fi

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
start_xvfb
make_wine_prefix "$root/build/wine/run-$arch" "$arch"
if [ "$headless" = 1 ]; then
    # Xvfb has no window manager: let Wine draw the title bar and frame itself.
    "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
fi

scripts/wine-run.sh "$exe" &
program=$!
if [ "$headless" = 1 ]; then
    sleep 3
    shot=$root/build/velmora-screenshot.png
    import -display "$DISPLAY" -window root "$shot"
    echo "No display here: Velmora runs on the virtual display $DISPLAY."
    echo "A screenshot of it is at $shot. Press Ctrl+C to stop it."
fi
wait "$program"
