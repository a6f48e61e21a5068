# Sourced by wine-env.sh when Wine's 32-bit half runs emulated (see wine-mode.sh).
#
# Wine's 64-bit loader starts a 32-bit Windows program by executing its 32-bit loader,
# /usr/lib/wine/wine, an i386 program. Here that path is, inside a private mount namespace, a
# two-line script that runs the real loader under qemu-i386; every process Wine starts inherits
# the namespace, so every 32-bit process is emulated and everything else (the server, the 64-bit
# system processes, the host) stays as it is. Nothing outside build/ is changed: the host's own
# /usr/lib/wine is untouched, and so is the way i386 programs run on this machine.
#
#   build/wine-emu/lib/  copies of /usr/lib/wine's files, with `wine` the script and the real
#                        loader beside it as `wine.i386` (the loader finds Wine's libraries
#                        relative to its own folder, so it must stay in /usr/lib/wine)
#   build/wine-emu/bin/  wine, wineboot, winepath, wineserver: enter the namespace (mounting
#                        lib/ over /usr/lib/wine) and run Wine's 64-bit loader or server;
#                        wine-env.sh puts this folder first on PATH

WINE_EMU_DIR=${WINE_EMU_DIR:-$ROOT/build/wine-emu}
WINE_HOST_DIR=/usr/lib/wine

# qemu-i386 before 8.1 spends about 100 s in mmap calls each time the 32-bit loader starts
# (it probes the address space page range by page range); 8.1 and later start it in 0.5 s.
QEMU_I386_MIN=8.1

qemu_version_ok() {
  local v
  v=$("$1" --version 2>/dev/null | sed -n -E '1s/.*version ([0-9]+\.[0-9]+).*/\1/p')
  [ -n "$v" ] && [ "$(printf '%s\n%s\n' "$QEMU_I386_MIN" "$v" | sort -V | head -1)" = "$QEMU_I386_MIN" ]
}

# Prints the path of a qemu-i386 new enough to run Wine's loader, or fails.
find_qemu_i386() {
  local q
  for q in /usr/bin/qemu-i386 /usr/bin/qemu-i386-static; do
    [ -x "$q" ] && qemu_version_ok "$q" && { echo "$q"; return 0; }
  done
  return 1
}

# Prints why the emulated Wine cannot run, or nothing when it can.
wine_emu_problem() {
  [ -x "$WINE_HOST_DIR/wine" ] || { echo "wine32 is not installed"; return; }
  [ -x "$WINE_HOST_DIR/wine64" ] || { echo "wine64 is not installed"; return; }
  [ -x "$WINE_HOST_DIR/wineserver64" ] || { echo "wine64's wineserver64 is not installed"; return; }
  if ! find_qemu_i386 >/dev/null; then
    if i386_runs_natively; then echo "no qemu-i386 $QEMU_I386_MIN or newer is installed"
    else echo "this machine cannot execute 32-bit programs and no emulator is set up (no qemu-i386 $QEMU_I386_MIN or newer)"; fi
    return
  fi
  command -v unshare >/dev/null || { echo "unshare (util-linux) is missing"; return; }
  unshare --mount --propagation private true 2>/dev/null ||
    { echo "this user cannot make a private mount namespace (run as root)"; return; }
}

_wine_emu_wrapper() {
  local name=$1 run=$2
  cat >"$WINE_EMU_DIR/bin/$name" <<EOF
#!/bin/sh
# Made by scripts/wine-emu.sh: $name with Wine's 32-bit loader under qemu-i386.
if [ ! -e $WINE_HOST_DIR/wine.i386 ]; then
  exec unshare --mount --propagation private -- /bin/sh -c \\
    'mount --bind "\$1" $WINE_HOST_DIR && shift && exec "\$0" "\$@"' "\$0" "$WINE_EMU_DIR/lib" "\$@"
fi
exec $run "\$@"
EOF
  chmod +x "$WINE_EMU_DIR/bin/$name"
}

# Makes (or makes again, after Wine or qemu changed) the overlay and the wrappers.
ensure_wine_emu() {
  local problem qemu stamp
  problem=$(wine_emu_problem)
  if [ -n "$problem" ]; then
    echo "wine-emu: the emulated Wine cannot run: $problem" >&2
    return 1
  fi
  if [ -e "$WINE_HOST_DIR/wine.i386" ]; then  # already inside the namespace
    case ":$PATH:" in *":$WINE_EMU_DIR/bin:"*) ;; *) export PATH="$WINE_EMU_DIR/bin:$PATH" ;; esac
    return 0
  fi
  qemu=$(find_qemu_i386)
  stamp="$qemu $(cksum <"$WINE_HOST_DIR/wine") $(cksum <"$WINE_HOST_DIR/wine64") 1"
  if [ "$(cat "$WINE_EMU_DIR/.stamp" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$WINE_EMU_DIR"
    mkdir -p "$WINE_EMU_DIR/lib" "$WINE_EMU_DIR/bin"
    cp -a "$WINE_HOST_DIR/." "$WINE_EMU_DIR/lib/"
    mv "$WINE_EMU_DIR/lib/wine" "$WINE_EMU_DIR/lib/wine.i386"
    printf '#!/bin/sh\nexec %s -0 "$0" %s/wine.i386 "$@"\n' "$qemu" "$WINE_HOST_DIR" \
      >"$WINE_EMU_DIR/lib/wine"
    chmod +x "$WINE_EMU_DIR/lib/wine"
    _wine_emu_wrapper wine "$WINE_HOST_DIR/wine64"
    _wine_emu_wrapper wineboot "$WINE_HOST_DIR/wine64 wineboot"
    _wine_emu_wrapper winepath "$WINE_HOST_DIR/wine64 winepath"
    printf '#!/bin/sh\nexec %s "$@"\n' "$WINE_HOST_DIR/wineserver64" >"$WINE_EMU_DIR/bin/wineserver"
    chmod +x "$WINE_EMU_DIR/bin/wineserver"
    echo "$stamp" >"$WINE_EMU_DIR/.stamp"
  fi
  case ":$PATH:" in *":$WINE_EMU_DIR/bin:"*) ;; *) export PATH="$WINE_EMU_DIR/bin:$PATH" ;; esac
}
