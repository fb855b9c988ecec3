#!/usr/bin/env bash
# The demo server: the tests' nginx (tests/servers/nginx.sh) with the locations of the demo:
# the installer archive (optionally rate-limited), the banner page and the statistics
# endpoint, everything kept in one folder.
#   nginx.sh start <dir> <port> <docroot> [rate, e.g. 4m; 0 = unlimited]
#   nginx.sh stop <dir>
# <dir>/access.log has one line per request; <dir>/stats.log has the statistics requests only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
server="$here/../../tests/servers/nginx.sh"
cmd=${1:?start|stop}
dir=${2:?folder}

case "$cmd" in
  stop) bash "$server" stop "$dir" ;;
  start)
    port=${3:?port}
    docroot=${4:?document root}
    rate=${5:-0}
    mkdir -p "$dir"
    cat > "$dir/demo-locations.conf" <<CONF
    location /update/ { limit_rate $rate; }
    location = /banner_download/index.do { default_type "text/html; charset=utf-8"; }
    location = /ajax/quickDownLoadStatistics/quickDownStatistics.jsp {
      access_log @DIR@/access.log tez;
      access_log @DIR@/stats.log tez;
      default_type text/plain;
      return 200 "ok\n";
    }
CONF
    : > "$dir/stats.log"
    bash "$server" start "$dir" "$port" "$docroot" "$dir/demo-locations.conf" >/dev/null
    echo "demo server on http://127.0.0.1:$port/ serving $(cd "$docroot" && pwd)"
    ;;
  *) echo "usage: $0 start <dir> <port> <docroot> [rate] | stop <dir>" >&2; exit 2 ;;
esac
