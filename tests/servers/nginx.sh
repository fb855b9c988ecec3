#!/usr/bin/env bash
# Starts or stops a private nginx for the tests, everything kept in one folder.
#   nginx.sh start <dir> <port|0> <docroot> [extras]   (0 picks a free port; it lands in <dir>/port)
#   nginx.sh stop <dir>
# The access log (<dir>/access.log, format "tez") records the client, the request
# line, status, bytes sent and the Range header of every request. [extras] is a file of
# further lines for the server block (locations); "@DIR@" in it stands for <dir>.
set -euo pipefail
cmd=${1:?start|stop}
dir=${2:?folder}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

stop() {
  if [ -f "$dir/nginx.pid" ]; then
    local pid
    pid=$(cat "$dir/nginx.pid")
    if kill "$pid" 2>/dev/null; then
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$dir/nginx.pid"
  fi
}

case "$cmd" in
  stop) stop ;;
  start)
    port=${3:?port}
    docroot=${4:?document root}
    extras=${5:-}
    stop
    mkdir -p "$docroot" "$dir/temp"
    docroot=$(cd "$docroot" && pwd)
    if [ "$port" = 0 ]; then
      port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
    fi
    user_line=""
    [ "$(id -u)" = 0 ] && user_line="user root root;"
    cat > "$dir/nginx.conf" <<CONF
$user_line
daemon on;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/error.log warn;
events { worker_connections 256; }
http {
  default_type application/octet-stream;
  log_format tez '\$remote_addr "\$request" \$status \$body_bytes_sent range="\$http_range"';
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
$([ -n "$extras" ] && sed "s|@DIR@|$dir|g" "$extras")
  }
}
CONF
    : > "$dir/access.log"
    # No CTest pipe may stay open in the daemon.
    /usr/sbin/nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/error.log" </dev/null >/dev/null 2>>"$dir/error.log"
    for _ in $(seq 50); do
      if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "$port" > "$dir/port"
        echo "nginx on 127.0.0.1:$port serving $docroot"
        exit 0
      fi
      sleep 0.1
    done
    echo "nginx did not start; see $dir/error.log" >&2
    cat "$dir/error.log" >&2 || true
    exit 1
    ;;
  *) echo "usage: $0 start <dir> <port|0> <docroot> | stop <dir>" >&2; exit 2 ;;
esac
