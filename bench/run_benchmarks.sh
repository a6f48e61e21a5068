#!/usr/bin/env bash
# Builds and runs the benchmarks, natively and under Wine. Each prints its own figures with the
# ratio against a baseline measured in the same run. Benchmarks never fail a build.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
./scripts/build.sh native-release win32 >/dev/null || exit 1
echo "== native"
for b in build/native-release/*_bench; do
  [ -x "$b" ] || continue
  echo "-- $(basename "$b")"
  "$b" || echo "(failed)"
done
. scripts/wine-env.sh
. scripts/xvfb.sh
[ -n "${DISPLAY:-}" ] || start_xvfb
stop_wine
ensure_wine_prefix
echo "== under Wine"
# The monitor benchmark's large folders, made here: through Wine each new file costs a search of
# its folder. The start-up benchmark opens the one of 100,000 files too.
MONITOR_DATA=/tmp/sorm_monitor_bench_data
python3 - "$MONITOR_DATA" <<'PY'
import os, sys
root = sys.argv[1]
for sub, n, fmt in (("ten", 10000, "doc%05d.qqq"), ("big", 100000, "f%06d.qqq")):
    d = os.path.join(root, sub)
    os.makedirs(d, exist_ok=True)
    if len(os.listdir(d)) >= n:
        continue
    for i in range(n):
        open(os.path.join(d, fmt % i), "w").close()
PY
startup() {
  $1 wine build/win32/startup_bench.exe "$(winepath -w build/win32/SORM32.EXE)" \
    "$(winepath -w build/win32/bare_window.exe)" 21 "$(winepath -w "$MONITOR_DATA/big")" 9 2>/dev/null
}
# Every Wine call is a round trip to wineserver. With the server and the program on different
# CPUs of an idle virtual machine, each round trip wakes a sleeping CPU, and that cost (which
# Windows does not have) swings with the machine's load: the ratio moved between 0.9 and 2 from
# run to run. With the server and every Wine process on one CPU, both programs pay the same
# switch and the figures hold still; both runs are printed.
echo "-- startup_bench (Wine on one CPU)"
stop_wine
taskset -c 0 "$WINESERVER_CMD" -p
startup "taskset -c 0"
stop_wine
echo "-- startup_bench (Wine on every CPU)"
startup ""
echo "-- monitor_bench"
wine build/win32/monitor_bench.exe "$(winepath -w build/win32/SORM32.EXE)" 100000 30 \
  "$(winepath -w "$MONITOR_DATA")" 2>/dev/null || echo "(failed)"
echo "-- drop of 1,000 files through the window against the copy command"
SORM_EXE=$(winepath -w build/win32/SORM32.EXE) wine build/win32/sorm_e2e.exe \
  --gtest_also_run_disabled_tests --gtest_filter='DropTest.DISABLED_Bench*' 2>/dev/null |
  grep -E '^(drop of|round)|FAILED' || echo "(failed)"
# Every console driver: names ending in _bench.exe and the Win32 twins of the native ones
# (*_bench_win.exe), which take the data the native runs left in /tmp.
for b in build/win32/*_bench.exe build/win32/*_bench_win.exe; do
  [ -x "$b" ] || continue
  name=$(basename "$b" .exe)
  [ "$name" = startup_bench ] && continue
  [ "$name" = monitor_bench ] && continue
  echo "-- $name"
  wine "$b" "$(winepath -w build/win32/SORM32.EXE)" 2>/dev/null || echo "(failed)"
done
stop_wine
stop_xvfb
