# Starts a private Xvfb when no display is set; tez_xvfb_stop ends it. Source it.
tez_xvfb_pid=""
tez_xvfb_start() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    tez_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    return 0
  done
  echo "no free X display number" >&2
  return 1
}
tez_xvfb_stop() {
  [ -n "$tez_xvfb_pid" ] && kill "$tez_xvfb_pid" 2>/dev/null || true
  tez_xvfb_pid=""
}
