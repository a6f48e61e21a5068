#!/usr/bin/env bash
# Installs what building, running and testing Sorumo32 needs on Debian 12.
# Idempotent: checks first, and only calls apt-get when something is missing.
#
# Where this machine cannot execute i386 programs (or SORM_WINE=emulated asks for it), it also
# installs what runs Wine's 32-bit half under qemu-i386 (scripts/wine-mode.sh, wine-emu.sh): the
# 64-bit Wine beside the 32-bit one, and a qemu-user new enough to start Wine's loader quickly
# (from bookworm-backports on Debian 12). A machine that runs i386 programs gets none of that.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/apt-install.sh"
. "$ROOT/scripts/wine-mode.sh"
. "$ROOT/scripts/wine-emu.sh"

pkgs=(mingw-w64 g++-mingw-w64-i686-posix cmake ninja-build googletest libgtest-dev
      clang libclang-rt-14-dev llvm wine wine32:i386 xvfb x11-utils xdotool locales
      fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine imagemagick)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt_install "${pkgs[@]}"

# Wine reads its ANSI code page from the locale: without ja_JP.UTF-8 it is 1252, not 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi

# Asked only now: the probe is an i386 program that the packages above bring.
if [ "$(sorm_wine_mode)" = emulated ]; then
  apt_install wine64
  if ! find_qemu_i386 >/dev/null; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [ "$codename" = bookworm ]; then
      add_backports_source bookworm-backports
      apt_install qemu-user/bookworm-backports
    else
      apt_install qemu-user
    fi
    find_qemu_i386 >/dev/null || {
      echo "install-deps: no qemu-i386 $QEMU_I386_MIN or newer could be installed" >&2
      exit 1
    }
  fi
fi
