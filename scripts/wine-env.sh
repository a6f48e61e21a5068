# Sourced by the run and test scripts: the project's own Wine prefix and settings.
# Usage: . scripts/wine-env.sh; ensure_wine_prefix
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEARCH=win32
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

ensure_wine_prefix() {
  if [ "$(cat "$WINEPREFIX/.sorm-ready" 2>/dev/null)" != "$SORM_PREFIX_VERSION" ]; then
    echo "wine-env: creating the Wine prefix at $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Japanese faces the program names, mapped onto the installed IPA fonts.
    local r='HKCU\Software\Wine\Fonts\Replacements'
    for face in "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "MS UI Gothic" "MS Gothic" "MS Shell Dlg" "MS Shell Dlg 2"; do
      wine reg add "$r" /v "$face" /d "IPAGothic" /f >/dev/null 2>&1
    done
    for face in "ＭＳ 明朝" "ＭＳ Ｐ明朝" "MS Mincho"; do
      wine reg add "$r" /v "$face" /d "IPAMincho" /f >/dev/null 2>&1
    done
    # Every window opens inside one virtual desktop, which gives top-level windows their frames
    # on a bare X server with no window manager.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    local marlett
    marlett=$(wine_marlett_font)
    if [ -n "$marlett" ]; then
      cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'Marlett (TrueType)' /d marlett.ttf /f >/dev/null 2>&1
    else
      echo "wine-env: no marlett.ttf found; caption buttons will show letters" >&2
    fi
    wineserver -w
    echo "$SORM_PREFIX_VERSION" >"$WINEPREFIX/.sorm-ready"
  fi
}

stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
