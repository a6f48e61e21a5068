#!/usr/bin/env bash
# Builds what is asked: "native" (core and unit tests with sanitizers), "win32" (SORM32.EXE,
# unit tests, end-to-end tests, benchmarks), "fuzz" (libFuzzer targets with clang), "tsan" (the
# worker thread's tests with ThreadSanitizer).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=${JOBS:-$(nproc)}
for what in "$@"; do
  case "$what" in
    native)
      cmake -S "$ROOT" -B "$ROOT/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
      ninja -C "$ROOT/build/native" -j "$JOBS"
      ;;
    native-release)
      cmake -S "$ROOT" -B "$ROOT/build/native-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSORM_SANITIZE=OFF >/dev/null
      ninja -C "$ROOT/build/native-release" -j "$JOBS"
      ;;
    win32)
      cmake -S "$ROOT" -B "$ROOT/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
      ninja -C "$ROOT/build/win32" -j "$JOBS"
      ;;
    tsan)
      cmake -S "$ROOT" -B "$ROOT/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSORM_SANITIZE=OFF \
        -DSORM_TSAN=ON >/dev/null
      ninja -C "$ROOT/build/tsan" -j "$JOBS" sorm_tsan_tests
      ;;
    fuzz)
      cmake -S "$ROOT/tests/fuzz" -B "$ROOT/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
      ninja -C "$ROOT/build/fuzz" -j "$JOBS"
      ;;
    *) echo "build.sh: unknown target $what" >&2; exit 2 ;;
  esac
done
