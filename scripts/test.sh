#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test tier:
#   1. native unit tests (posix backend, AddressSanitizer + UndefinedBehaviorSanitizer), and
#      the worker thread's tests again with ThreadSanitizer
#   2. the same unit tests under Wine against real Win32
#   3. end-to-end tests driving SORM32.EXE under Wine and Xvfb, and the release archive made,
#      unpacked into a fresh folder and its SORM32.EXE started there (scripts/test-release.sh)
#   4. each libFuzzer target for FUZZ_SECONDS (default 15; 0 skips)
# Ends with one line "N passed, N failed" over all tiers; exits non-zero on any failure. A tier
# that cannot start (no Wine that runs here, no display) counts as failed and says why. A Wine
# tier whose program ends silently without its summary runs once more, and says so.
# SORM_WINE=emulated or native forces how Wine's 32-bit half runs (scripts/wine-mode.sh).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
FUZZ_SECONDS=${FUZZ_SECONDS:-15}
LOG=$ROOT/build/test-logs
mkdir -p "$LOG"

"$ROOT/scripts/install-deps.sh" || { echo "test.sh: installing dependencies failed"; exit 1; }
"$ROOT/scripts/build.sh" native win32 tsan || { echo "test.sh: build failed"; exit 1; }
if [ "$FUZZ_SECONDS" != 0 ]; then
  "$ROOT/scripts/build.sh" fuzz || { echo "test.sh: fuzz build failed"; exit 1; }
fi

passed=0
failed=0
status=0
# Adds the counts of a GoogleTest log to the totals. A tier that ran no test at all (it crashed
# at start, or its program is missing) counts as one failure, never as a green zero.
# The names of the failed tests of a GoogleTest log, once each (a full log names each failure
# as it happens, with its time, and again in the summary).
failed_tests() {
  grep -aE '^\[  FAILED  \] [A-Za-z_]' "$1" | sed -E 's/\r$//; s/ \([0-9]+ ms\)$//; s/, where .*//' | sort -u
}
# What each failed test of a full GoogleTest log printed between its start and its end (at most
# 30 lines each), so the run's own output says why it failed. A brief log names only the test.
failure_excerpts() {
  awk -v tier="$(basename "$1" .log)" '
    { sub(/\r$/, "") }
    /^\[ RUN      \] / { name = substr($0, 14); n = 0; delete body; next }
    /^\[       OK \] / { name = ""; next }
    /^\[  FAILED  \] / && name != "" {
      print "  -- " tier ": " name
      for (i = 1; i <= n && i <= 30; i++) print "    | " body[i]
      if (n > 30) print "    | (" n - 30 " more lines in the log)"
      name = ""; next
    }
    name != "" { body[++n] = $0 }
  ' "$1"
}
# count_gtest LOG [RECOVERED]: RECOVERED lists (one "[  FAILED  ] name" line each) the failed
# tests of LOG that passed when run once more (retry_failed_tests); they count as passed.
count_gtest() {
  local log=$1 recovered=${2:-/dev/null} p f r
  p=$(grep -aE '^\[  PASSED  \] [0-9]+ test' "$log" | tail -1 | sed -E 's/.* ([0-9]+) tests?.*/\1/')
  r=$(grep -c . "$recovered")
  f=$(failed_tests "$log" | grep -vxF -f "$recovered" | wc -l)
  p=$((${p:-0} + r))
  passed=$((passed + p))
  failed=$((failed + ${f:-0}))
  [ "${f:-0}" -gt 0 ] && status=1
  if [ "${p:-0}" -eq 0 ] && [ "${f:-0}" -eq 0 ]; then
    failed=$((failed + 1)); status=1
    echo "  $(basename "$log" .log): FAILED, it ran no test (see $log); its last lines:"
    tail -n 15 "$log" | sed 's/^/    | /'
  else
    echo "  $(basename "$log" .log): ${p:-0} passed, ${f:-0} failed"
  fi
}
# Runs a Wine tier's program into log. A program that ends without GoogleTest's summary and
# without a crash report of Wine's (seen now and then, silently, while tests start host programs
# to make links) runs once more, and the output says so and where the first run stopped; a
# second such end counts as a failure like any other.
run_wine_tier() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 || true
  if ! grep -aqE '^\[  PASSED  \] [0-9]+ test' "$log" && ! grep -aq 'Unhandled' "$log"; then
    local last
    last=$(grep -aE '^\[ RUN      \]' "$log" | tail -1 | sed -E 's/\r$//; s/^\[ RUN      \] //')
    mv "$log" "$log.first"
    echo "  $(basename "$log" .log): the program ended without its summary during ${last:-its start}" \
         "and without a crash report (log kept as $log.first); running the tier once more"
    stop_wine
    "$@" >"$log" 2>&1 || true
  fi
}
# The end-to-end tests drive a whole desktop, where another process's timing can now and then
# upset one of them: each test that failed in a run that otherwise ended normally runs once more
# on its own (retry_failed_tests LOG RECOVERED PROGRAM...). Those that pass then are written to
# RECOVERED and named in the output; a test that fails twice stays a failure.
retry_failed_tests() {
  local log=$1 recovered=$2
  shift 2
  : >"$recovered"
  grep -aqE '^\[  PASSED  \] [0-9]+ test' "$log" || return 0
  local names filter
  names=$(failed_tests "$log" | sed -E 's/^\[  FAILED  \] //')
  [ -n "$names" ] || return 0
  filter=$(echo "$names" | paste -sd: -)
  echo "  $(basename "$log" .log): running the failed tests once more: $(echo "$names" | paste -sd' ' -)"
  stop_wine
  "$@" --gtest_filter="$filter" >"$log.again" 2>&1 || true
  local name
  while read -r name; do
    if grep -aqxF "[       OK ] $name" <(sed -E 's/\r$//; s/ \([0-9]+ ms\)$//' "$log.again"); then
      echo "[  FAILED  ] $name" >>"$recovered"
      echo "  $(basename "$log" .log): $name failed the first run and passed the second (both logs kept)"
    fi
  done <<<"$names"
}
# A tier that cannot start counts as one failure and says why.
tier_cannot_run() {
  failed=$((failed + 1)); status=1
  echo "  $1: FAILED, not run: $2"
}

# The Python checks (unittest) of a folder: the generators' under resources/NAME, the
# packaging's under scripts.
run_generator_checks() {
  local name=$1 dir=${2:-resources/$1} n
  if python3 -m unittest discover -s "$ROOT/$dir" -p 'test_*.py' >"$LOG/$name.log" 2>&1; then
    n=$(grep -aE '^Ran [0-9]+ test' "$LOG/$name.log" | sed -E 's/Ran ([0-9]+).*/\1/')
    passed=$((passed + ${n:-0})); echo "  $name: ${n:-0} passed"
  else
    failed=$((failed + 1)); status=1; echo "  $name: FAILED (see $LOG/$name.log)"
  fi
}
echo "== resource pictures, help and release archive (Python checks)"
run_generator_checks art
run_generator_checks help
run_generator_checks package scripts

echo "== tier 1: native unit tests"
ASAN_OPTIONS=detect_leaks=1 "$ROOT/build/native/sorm_unit_tests" --gtest_brief=1 >"$LOG/native.log" 2>&1 || status=1
count_gtest "$LOG/native.log"
echo "== tier 1b: worker thread, icon loader and cache under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$ROOT/build/tsan/sorm_tsan_tests" \
  --gtest_brief=1 >"$LOG/tsan.log" 2>&1 || status=1
count_gtest "$LOG/tsan.log"

. "$ROOT/scripts/wine-env.sh"
. "$ROOT/scripts/xvfb.sh"
display=ok
start_xvfb || display="Xvfb did not start, so there is no display for the program"
stop_wine  # a wineserver left from an earlier run would keep its old display
rm -f "$LOG"/wine.log* "$LOG"/e2e.log* "$LOG/e2e.recovered" "$LOG"/release.log*
wine_problem=
if ! ensure_wine_prefix 2>"$LOG/wine-prefix.log"; then
  wine_problem=$(grep -m1 '^Wine cannot start' "$LOG/wine-prefix.log")
  wine_problem=${wine_problem:-"Wine cannot start: making its prefix failed (see $LOG/wine-prefix.log)"}
fi
if [ "$SORM_WINE_MODE" = emulated ]; then
  echo "== Wine's 32-bit half runs under $(find_qemu_i386 2>/dev/null) (emulated), prefix $WINEPREFIX"
fi
echo "== tier 2: unit tests under Wine"
if [ -n "$wine_problem" ]; then
  tier_cannot_run wine "$wine_problem"
else
  # Full output: when the program dies, the log's last lines name the test it died in.
  run_wine_tier "$LOG/wine.log" wine "$ROOT/build/win32/sorm_unit_tests.exe"
  count_gtest "$LOG/wine.log"
fi

# Why a tier that drives the program on the display cannot run; nothing when it can.
display_tier_problem() {
  if [ -n "$wine_problem" ]; then echo "$wine_problem"; elif [ "$display" != ok ]; then echo "$display"; fi
}
echo "== tier 3: end-to-end tests under Wine and Xvfb"
problem=$(display_tier_problem)
if [ -n "$problem" ]; then
  tier_cannot_run e2e "$problem"
else
  SORM_EXE=$(winepath -w "$ROOT/build/win32/SORM32.EXE" 2>/dev/null)
  SORM_SHOTS=$(winepath -w "$ROOT/build/shots" 2>/dev/null)
  export SORM_EXE SORM_SHOTS
  # The release's test runs on its own below, against the unpacked archive.
  run_wine_tier "$LOG/e2e.log" wine "$ROOT/build/win32/sorm_e2e.exe" --gtest_filter='-ReleaseTest.*'
  retry_failed_tests "$LOG/e2e.log" "$LOG/e2e.recovered" wine "$ROOT/build/win32/sorm_e2e.exe"
  count_gtest "$LOG/e2e.log" "$LOG/e2e.recovered"
fi
echo "== tier 3b: the release archive, unpacked into a fresh folder and started under Wine"
if [ -n "$problem" ]; then
  tier_cannot_run release "$problem"
else
  # Packs the build made above; a failure before the test leaves a log without any test.
  run_wine_tier "$LOG/release.log" env SORM_PACKAGE_NO_BUILD=1 "$ROOT/scripts/test-release.sh"
  count_gtest "$LOG/release.log"
fi
mkdir -p "$ROOT/build/shots"
for b in "$ROOT"/build/shots/*.bmp; do [ -f "$b" ] && convert "$b" "${b%.bmp}.png" && rm -f "$b"; done
stop_wine
stop_xvfb

if [ "$FUZZ_SECONDS" != 0 ]; then
  echo "== tier 4: fuzzing, ${FUZZ_SECONDS}s per target"
  for f in "$ROOT"/build/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="$ROOT/build/fuzz/corpus-$name"
    mkdir -p "$corpus"
    # Seeds (tests/fuzz/seeds/NAME) start the search from well-formed inputs.
    seeds=()
    [ -d "$ROOT/tests/fuzz/seeds/$name" ] && seeds=("$ROOT/tests/fuzz/seeds/$name")
    if "$f" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" "${seeds[@]}" >"$LOG/$name.log" 2>&1; then
      passed=$((passed + 1)); echo "  $name: no crash"
    else
      failed=$((failed + 1)); status=1; echo "  $name: FAILED (see $LOG/$name.log)"
    fi
  done
fi

for log in "$LOG"/native.log "$LOG"/tsan.log "$LOG"/wine.log "$LOG"/e2e.log "$LOG"/release.log; do
  [ -f "$log" ] || continue
  recovered=/dev/null
  [ "$log" = "$LOG/e2e.log" ] && [ -f "$LOG/e2e.recovered" ] && recovered=$LOG/e2e.recovered
  failed_tests "$log" | grep -vxF -f "$recovered" | sed 's/^/  /'
done
for log in "$LOG"/native.log "$LOG"/tsan.log "$LOG"/wine.log "$LOG"/e2e.log "$LOG"/release.log; do
  [ -f "$log" ] || continue
  failure_excerpts "$log"
done
echo "$passed passed, $failed failed"
exit $status
