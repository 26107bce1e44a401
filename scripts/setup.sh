#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# The 64-bit compiler and Wine loader serve machines that cannot execute 32-bit code:
# there the same sources are tested as a 64-bit program.
packages=(cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 xvfb imagemagick)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done
[ ${#need[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

echo "setup: installing ${need[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
