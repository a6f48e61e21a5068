#!/usr/bin/env bash
# Installs what is missing, builds SORM32.EXE and starts it under Wine with its own prefix.
# With a $DISPLAY it opens there; without one it runs under a private Xvfb, waits a few seconds,
# saves a screenshot and prints its path (the program keeps running until you press Enter).
# Arguments are passed to the program.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh" win32
. "$ROOT/scripts/wine-env.sh"
. "$ROOT/scripts/xvfb.sh"
own_display=no
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  own_display=yes
fi
ensure_wine_prefix
cd "$ROOT/build/win32"
wine ./SORM32.EXE "$@" &
if [ "$own_display" = yes ]; then
  sleep "${SHOT_DELAY:-6}"
  mkdir -p "$ROOT/build/shots"
  shot="$ROOT/build/shots/run-$(date +%Y%m%d-%H%M%S).png"
  import -window root "$shot"
  echo "screenshot: $shot"
  if [ -t 0 ]; then read -r -p "Press Enter to stop the program. " _; fi
  stop_wine
  stop_xvfb
else
  wait
fi
