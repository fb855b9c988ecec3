#!/usr/bin/env bash
# Starts or stops the scripted fault server (faultserver.py) in the background.
#   faultserver.sh start <dir>   (ports land in <dir>/port and <dir>/altport)
#   faultserver.sh stop <dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:?start|stop}
dir=${2:?folder}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

stop() {
  if [ -f "$dir/pid" ]; then
    local pid
    pid=$(cat "$dir/pid")
    if kill "$pid" 2>/dev/null; then
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$dir/pid"
  fi
}

case "$cmd" in
  stop) stop ;;
  start)
    stop
    rm -f "$dir/port" "$dir/altport"
    # Detached from CTest's pipes, so the fixture test ends while the server runs on.
    setsid /usr/bin/python3 "$here/faultserver.py" "$dir" </dev/null >"$dir/server.out" 2>&1 &
    for _ in $(seq 50); do
      if [ -s "$dir/port" ] && [ -s "$dir/altport" ] && [ -s "$dir/pid" ]; then
        echo "fault server on 127.0.0.1:$(cat "$dir/port") and :$(cat "$dir/altport")"
        exit 0
      fi
      sleep 0.1
    done
    echo "fault server did not start" >&2
    cat "$dir/server.out" >&2 || true
    exit 1
    ;;
  *) echo "usage: $0 start <dir> | stop <dir>" >&2; exit 2 ;;
esac
