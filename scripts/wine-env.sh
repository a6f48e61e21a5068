# Sourced by the run and test scripts: the project's own Wine prefix and settings.
# Usage: . scripts/wine-env.sh; ensure_wine_prefix
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8

ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.sorm-ready" ]; then
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
    wineserver -w
    touch "$WINEPREFIX/.sorm-ready"
  fi
}

stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
