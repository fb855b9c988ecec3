#!/usr/bin/env bash
# The demo server: nginx on 127.0.0.1 serving the installer archive, the banner page and the
# statistics endpoint, everything kept in one folder.
#   nginx.sh start <dir> <port> <docroot> [rate, e.g. 4m; 0 = unlimited]
#   nginx.sh stop <dir>
# <dir>/access.log has one line per request: time, request line (with the query), status,
# bytes sent and the Range header; <dir>/stats.log has the statistics requests only.
set -euo pipefail
cmd=${1:?start|stop}
dir=${2:?folder}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

stop() {
  [ -f "$dir/nginx.pid" ] || return 0
  local pid
  pid=$(cat "$dir/nginx.pid")
  if kill "$pid" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$dir/nginx.pid"
}

case "$cmd" in
  stop) stop ;;
  start)
    port=${3:?port}
    docroot=$(cd "${4:?document root}" && pwd)
    rate=${5:-0}
    stop
    mkdir -p "$dir/temp"
    user_line=""
    [ "$(id -u)" = 0 ] && user_line="user root root;"
    cat > "$dir/nginx.conf" <<CONF
$user_line
daemon on;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/error.log warn;
events { worker_connections 64; }
http {
  default_type application/octet-stream;
  log_format tez '\$msec "\$request" \$status \$body_bytes_sent range="\$http_range"';
  access_log $dir/access.log tez;
  client_body_temp_path $dir/temp/body;
  proxy_temp_path $dir/temp/proxy;
  fastcgi_temp_path $dir/temp/fastcgi;
  uwsgi_temp_path $dir/temp/uwsgi;
  scgi_temp_path $dir/temp/scgi;
  sendfile on;
  keepalive_timeout 5;
  server {
    listen 127.0.0.1:$port;
    root $docroot;
    location /update/ { limit_rate $rate; }
    location = /banner_download/index.do { default_type "text/html; charset=utf-8"; }
    location = /ajax/quickDownLoadStatistics/quickDownStatistics.jsp {
      access_log $dir/access.log tez;
      access_log $dir/stats.log tez;
      default_type text/plain;
      return 200 "ok\n";
    }
  }
}
CONF
    touch "$dir/access.log" "$dir/stats.log"
    # Started detached: no caller's pipe may stay open in the daemon.
    /usr/sbin/nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" </dev/null >/dev/null 2>>"$dir/error.log"
    for _ in $(seq 50); do
      if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "demo server on http://127.0.0.1:$port/ serving $docroot"
        exit 0
      fi
      sleep 0.1
    done
    echo "nginx did not start; see $dir/error.log" >&2
    cat "$dir/error.log" >&2 || true
    exit 1
    ;;
  *) echo "usage: $0 start <dir> <port> <docroot> [rate] | stop <dir>" >&2; exit 2 ;;
esac
