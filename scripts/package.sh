#!/usr/bin/env bash
# Builds SORM32.EXE with its help and makes the release archive dist/sorumo32-<version>.zip
# (the version is the version resource's numbers in resources/resource_ids.h). Prints the
# archive's path. SORM_PACKAGE_NO_BUILD=1 packs what build/win32 already holds.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
if [ "${SORM_PACKAGE_NO_BUILD:-0}" != 1 ]; then
  "$ROOT/scripts/build.sh" win32 >&2
fi
exec python3 "$ROOT/scripts/package.py" "$ROOT/build/win32" "$ROOT/dist"
