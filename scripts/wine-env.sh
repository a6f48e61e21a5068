# Sourced by the run and test scripts: the project's own Wine prefix and settings.
# Usage: . scripts/wine-env.sh; ensure_wine_prefix
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
. "$ROOT/scripts/wine-mode.sh"
. "$ROOT/scripts/wine-emu.sh"
SORM_WINE_MODE=$(sorm_wine_mode)
if [ "$SORM_WINE_MODE" = emulated ]; then
  # A win64 prefix: Wine's own system processes (services, explorer, the device manager) are
  # 64-bit and run natively; only the program and the tests are emulated.
  export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix-emu}
  export WINEARCH=win64
  export WINESERVER=$WINE_HOST_DIR/wineserver64
  export WINELOADER=$WINE_HOST_DIR/wine64
else
  export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
  export WINEARCH=win32
fi
# -k and -w go to the server Wine starts: Debian's wrapper, which takes wineserver64 where
# wine64 is installed and wineserver32 otherwise (both serve a 32-bit prefix), or the one named
# for the emulated way.
WINESERVER_CMD=${WINESERVER:-wineserver}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8

# Raised whenever ensure_wine_prefix sets up something new, so that older prefixes are made again.
SORM_PREFIX_VERSION=2

# The symbol font of the caption buttons (minimise, maximise, close), which Wine ships; without
# it in the prefix the buttons show the letters of its character codes.
wine_marlett_font() {
  local f
  for f in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
    [ -f "$f" ] && { echo "$f"; return 0; }
  done
  f=$(dpkg -L fonts-wine wine32 wine64 libwine 2>/dev/null | grep -i '/marlett\.ttf$' | head -1)
  [ -n "$f" ] && [ -f "$f" ] && echo "$f"
}

# Prints why Wine cannot start here, or nothing when it can.
wine_start_problem() {
  if [ "$SORM_WINE_MODE" = native ]; then
    command -v wine >/dev/null || { echo "Wine is not installed"; return; }
    i386_runs_natively ||
      echo "this machine cannot execute 32-bit programs and no emulator is set up"
  else
    wine_emu_problem
  fi
}

# Registry values for the 32-bit program: in a win64 prefix HKLM\Software has a 32-bit view.
wine_reg_add() {
  wine reg add "$@" /f >/dev/null 2>&1
  [ "$WINEARCH" = win64 ] && wine reg add "$@" /f /reg:32 >/dev/null 2>&1
  return 0
}

ensure_wine_prefix() {
  local problem
  problem=$(wine_start_problem)
  if [ -n "$problem" ]; then
    echo "Wine cannot start: $problem" >&2
    return 1
  fi
  [ "$SORM_WINE_MODE" = emulated ] && { ensure_wine_emu || return 1; }
  if [ "$(cat "$WINEPREFIX/.sorm-ready" 2>/dev/null)" != "$SORM_PREFIX_VERSION" ]; then
    echo "wine-env: creating the Wine prefix at $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER_CMD" -w
    # Japanese faces the program names, mapped onto the installed IPA fonts.
    local r='HKCU\Software\Wine\Fonts\Replacements'
    for face in "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "MS UI Gothic" "MS Gothic" "MS Shell Dlg" "MS Shell Dlg 2"; do
      wine_reg_add "$r" /v "$face" /d "IPAGothic"
    done
    for face in "ＭＳ 明朝" "ＭＳ Ｐ明朝" "MS Mincho"; do
      wine_reg_add "$r" /v "$face" /d "IPAMincho"
    done
    # Every window opens inside one virtual desktop, which gives top-level windows their frames
    # on a bare X server with no window manager.
    wine_reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    wine_reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768
    local marlett
    marlett=$(wine_marlett_font)
    if [ -n "$marlett" ]; then
      cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
      wine_reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'Marlett (TrueType)' /d marlett.ttf
    else
      echo "wine-env: no marlett.ttf found; caption buttons will show letters" >&2
    fi
    "$WINESERVER_CMD" -w
    echo "$SORM_PREFIX_VERSION" >"$WINEPREFIX/.sorm-ready"
  fi
}

stop_wine() { "$WINESERVER_CMD" -k >/dev/null 2>&1 || true; }
