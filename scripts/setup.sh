#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# The 64-bit compiler and Wine loader serve machines that cannot execute 32-bit code:
# there the same sources are tested as a 64-bit program.
# g++-multilib and qemu-user run the core's tests as a 32-bit program on any machine.
packages=(cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
          g++-multilib qemu-user
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 xvfb imagemagick)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done
# Wine is run with LANG=zh_CN.UTF-8 for code page 936; with the locale generated, the
# shells that set it stay quiet about it.
has_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }
has_locale || have locales || need+=(locales)
if [ ${#need[@]} -eq 0 ] && has_locale; then
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

echo "setup: installing ${need[*]:-the zh_CN.UTF-8 locale}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
if [ ${#need[@]} -gt 0 ]; then
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
if ! has_locale; then
    $sudo sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi
