#!/usr/bin/env bash
# Resilience: the download driver is killed (SIGKILL of its Wine process) at random points
# several times and started again; the file must end byte-identical, and nginx's log must
# show that the restarts continued the file with range requests.
#   resume_after_kill.sh <net_download_driver.exe> <nginx fixture folder>
set -euo pipefail
driver=${1:?driver}
server=${2:?nginx fixture folder}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/script/lib/wine-env.sh"
tez_wine_prefix_ready

kills=4
size=$((32 * 1024 * 1024))
port=$(cat "$server/port")
mkdir -p "$server/www"
source_file="$server/www/resume_big.bin"
if [ "$(stat -c %s "$source_file" 2>/dev/null || echo 0)" != "$size" ]; then
  head -c "$size" /dev/urandom > "$source_file.tmp"
  mv "$source_file.tmp" "$source_file"
fi
touch -d "2021-03-04 05:06:07 UTC" "$source_file"
work="$(dirname "$driver")/scratch/resume_after_kill"
rm -rf "$work"
mkdir -p "$work"
local_file="$work/tez_lobby.install"
log_start=$(stat -c %s "$server/access.log")

file_size() { stat -c %s "$local_file" 2>/dev/null || echo 0; }

cd "$work"
for k in $(seq "$kills"); do
  before=$(file_size)
  remaining=$((size - before))
  # Somewhere in the first half of what is missing, at least 1 MiB in.
  target=$((before + 1048576 + (RANDOM * 32768 + RANDOM) % (remaining / 2)))
  env LC_ALL="$LANG" "$TEZ_WINE64" "$driver" "127.0.0.1:$port" /resume_big.bin tez_lobby.install \
    >"$work/run$k.out" 2>&1 &
  pid=$!
  deadline=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null && [ "$(file_size)" -lt "$target" ] && [ $SECONDS -lt $deadline ]; do
    sleep 0.005
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "kill $k: file had $before bytes, killed at $(file_size) (aimed at $target)"
done

timeout 60 env LC_ALL="$LANG" "$TEZ_WINE64" "$driver" "127.0.0.1:$port" /resume_big.bin tez_lobby.install
cmp "$source_file" "$local_file"
echo "final file is byte-identical ($size bytes)"

log=$(tail -c +"$((log_start + 1))" "$server/access.log")
ranges=$(grep -c '/resume_big.bin HTTP/1.0" 206 .*range="bytes=' <<<"$log" || true)
echo "range requests answered with 206: $ranges"
grep '/resume_big.bin HTTP/1.0" 206 ' <<<"$log" || true
# A kill between a block's write and its re-stamp leaves the file with the current time
# under Wine, and that restart begins again from byte 0; most restarts must resume.
if [ "$ranges" -lt $((kills / 2)) ]; then
  echo "too few resumed downloads" >&2
  exit 1
fi
