#!/usr/bin/env bash
# The release as a user gets it: makes the archive with package.sh, checks that it holds exactly
# the files that ship, unpacks it into a fresh folder and runs the end-to-end test ReleaseTest
# against the SORM32.EXE unpacked there, under Wine. Prints the GoogleTest output; exits
# non-zero on any failure, and when something before the test fails it says what and runs no
# test.
# A display and the Wine prefix are set up here unless the caller has them (test.sh does).
# SORM_PACKAGE_NO_BUILD=1 packs what build/win32 already holds (see package.sh).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

fail() {
  echo "test-release.sh: $*"
  exit 1
}

archive=$("$ROOT/scripts/package.sh") || fail "package.sh did not make the archive"
[ -f "$archive" ] || fail "package.sh named no archive ($archive)"
name=$(basename "$archive")
version=${name#sorumo32-}
version=${version%.zip}
[ "$name" = "sorumo32-$version.zip" ] && [ -n "$version" ] || fail "unexpected archive name $name"

# Exactly these files, at the archive's top level.
python3 - "$archive" <<'EOF' || fail "the archive does not hold the files that ship"
import sys, zipfile
expected = ["SORM32.EXE", "sormdef.cfg", "explorer.cfg", "sorm32.hlp", "sorm32.htm", "readme.txt"]
with zipfile.ZipFile(sys.argv[1]) as z:
    names = z.namelist()
    bad = z.testzip()
if bad:
    sys.exit("damaged member: " + bad)
if sorted(names) != sorted(expected):
    sys.exit("archive holds %s, expected %s" % (names, expected))
EOF

unpacked=$(mktemp -d "$ROOT/build/release-test.XXXXXX") || fail "no fresh folder"
cleanup() {
  [ -n "${started_display:-}" ] && stop_xvfb
  rm -rf "$unpacked"
}
trap cleanup EXIT
python3 -m zipfile -e "$archive" "$unpacked" || fail "unpacking $archive failed"

. "$ROOT/scripts/wine-env.sh"
. "$ROOT/scripts/xvfb.sh"
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb || fail "Xvfb did not start, so there is no display for the program"
  started_display=1
fi
ensure_wine_prefix || fail "Wine cannot start"
dir=$(winepath -w "$unpacked" 2>/dev/null) || fail "winepath failed"
mkdir -p "$ROOT/build/shots"
SORM_RELEASE_DIR=$dir SORM_RELEASE_VERSION=$version SORM_SHOTS=$(winepath -w "$ROOT/build/shots") \
  wine "$ROOT/build/win32/sorm_e2e.exe" --gtest_filter='ReleaseTest.*'
rc=$?
[ -n "${started_display:-}" ] && stop_wine
exit $rc
