# Sourced: a private X display for the program when there is none to use.
# Xvfb picks a free display number itself (-displayfd), so displays held by other runs, or lock
# files left behind by a run that was killed, never stop this one.
start_xvfb() {
  local fifo n
  fifo=$(mktemp -u /tmp/sorm-xvfb.XXXXXX)
  mkfifo "$fifo" || return 1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  n=$(timeout 20 head -n 1 "$fifo")
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "xvfb.sh: Xvfb did not start" >&2
    kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    return 1
  fi
  export DISPLAY=":$n"
}
stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; XVFB_PID=; }
