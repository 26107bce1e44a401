# Sourced by run.sh and test.sh: a private Wine prefix and, where there is no
# display, a private Xvfb. Everything started here stops when the shell exits.

# Whether this machine executes 32-bit x86 code at all; some virtual machines don't,
# and there only the 64-bit build of the same sources can run under Wine.
machine_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# start_xvfb: sets DISPLAY to a new Xvfb server unless one is given.
start_xvfb() {
    if [ -n "${DISPLAY:-}" ] && [ "${VELMORA_FORCE_XVFB:-0}" != 1 ]; then
        return
    fi
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# make_wine_prefix DIR ARCH: a fresh prefix, made once per run.
make_wine_prefix() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    export WINEPREFIX=$1 WINEARCH=$2
    export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    if [ "$2" = win64 ]; then
        export WINELOADER=/usr/lib/wine/wine64
    else
        export WINELOADER=/usr/lib/wine/wine
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    "$WINELOADER" wineboot -i >/dev/null 2>&1
    wineserver -w
    # Keep the server and Wine's own background programs up for the whole run, so that
    # each test starts in a fraction of a second instead of several seconds. They are
    # started here, detached from our output: started by a test under ctest they would
    # hold its output pipe open and ctest would wait for them.
    wineserver -p </dev/null >/dev/null 2>&1
    "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine_and_xvfb() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}
