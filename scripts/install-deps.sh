#!/usr/bin/env bash
# Installs what building, running and testing Sorumo32 needs on Debian 12.
# Idempotent: checks first, and only calls apt-get when something is missing.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

pkgs=(mingw-w64 g++-mingw-w64-i686-posix cmake ninja-build googletest libgtest-dev
      clang libclang-rt-14-dev llvm wine wine32:i386 xvfb x11-utils xdotool locales
      fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine imagemagick)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=no
else
  updated=skip
fi
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ] || [ "$updated" = no ]; then
  echo "install-deps: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need[@]}"
fi

# Wine reads its ANSI code page from the locale: without ja_JP.UTF-8 it is 1252, not 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
