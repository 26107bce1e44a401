#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: the text core natively
# (plain, sanitized and fuzzed), and the Windows builds under Wine on a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine-env.sh
trap stop_wine_and_xvfb EXIT

bash scripts/setup.sh

step() { printf '\n==== %s\n' "$*"; }

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "sanitized build and tests"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize

step "the core as a 32-bit program, under qemu"
cmake --preset native32 >/dev/null
cmake --build --preset native32
ctest --preset native32

step "32-bit Windows build"
cmake --preset win32 >/dev/null
cmake --build --preset win32
# Checks of the program file itself run on the host.
bash tests/program/check_program_file.sh build/win32/velmora.exe i686-w64-mingw32-objdump
# The same commit must give the same program file, byte for byte.
cmake --preset win32 -B build/win32-again >/dev/null
cmake --build build/win32-again --target velmora -j2 >/dev/null
cmp build/win32/velmora.exe build/win32-again/velmora.exe
echo "reproducible: two builds of velmora.exe are identical"

start_xvfb
if machine_runs_32bit; then
    step "32-bit Windows tests under Wine"
    make_wine_prefix "$root/build/wine/win32" win32
    ctest --preset win32
else
    step "this machine cannot execute 32-bit code: the 64-bit build is tested under Wine instead"
fi

step "64-bit Windows build and tests under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64
make_wine_prefix "$root/build/wine/win64" win64
ctest --preset win64

step "all tests passed"
