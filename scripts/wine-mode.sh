# Sourced: decides how Wine's 32-bit half runs on this machine.
#
#   native    the kernel executes i386 programs: Debian's wine32 runs as it is, in a win32 prefix.
#   emulated  it cannot (the kernel's 32-bit emulation is off: "Exec format error"), or
#             SORM_WINE=emulated asks for it: the 32-bit loader runs under qemu-i386, the Wine
#             server and Wine's own system processes are the native 64-bit ones, in a win64
#             prefix (scripts/wine-emu.sh).
#
# SORM_WINE=native|emulated forces a way; unset or "auto" decides by trying an i386 program
# that Debian ships (the 32-bit dynamic loader of libc6:i386, which wine32 brings).

I386_PROBE=${I386_PROBE:-/lib/ld-linux.so.2}

# True when a qemu interpreter is registered for i386 ELF files: an i386 program then "runs",
# but every one of Wine's 32-bit processes (the server among them) would be emulated.
i386_runs_through_binfmt() {
  local f
  for f in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$f" ] || continue
    grep -qs '^enabled' "$f" && grep -qs '^interpreter .*qemu-i386' "$f" && return 0
  done
  return 1
}

# True when this kernel itself executes i386 programs.
i386_runs_natively() {
  [ -x "$I386_PROBE" ] || return 1
  "$I386_PROBE" --help >/dev/null 2>&1 || return 1
  ! i386_runs_through_binfmt
}

# Prints "native" or "emulated". Before wine32 is installed there is no probe to run: that
# counts as native, and the caller asks again once the packages are in.
sorm_wine_mode() {
  case "${SORM_WINE:-auto}" in
    native|emulated) echo "$SORM_WINE"; return ;;
    auto|"") ;;
    *) echo "wine-mode: SORM_WINE must be native, emulated or auto (is '$SORM_WINE')" >&2 ;;
  esac
  if [ ! -e "$I386_PROBE" ] || i386_runs_natively; then echo native; else echo emulated; fi
}
