#!/usr/bin/env bash
# Builds the demo server's document root: the installer archive at the program's download path
# (a zip whose top folder Tolmaro holds the demo lobby as lobby.exe and a generated payload)
# and the banner page. The archive is made again only when the lobby or the payload size
# changes; its bytes and date are the same on every machine.
#   make_www.sh <docroot> <lobby.exe> [payload MiB, default 40]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
www=${1:?document root}
lobby=${2:?lobby.exe}
mib=${3:-40}
mkdir -p "$www"
www=$(cd "$www" && pwd)
archive_dir="$www/update/tuiguang/tg_tez"
archive="$archive_dir/tez_lobby.zip"
key="$(sha256sum "$lobby" "$here/make_payload.py" | cut -c1-16 | tr '\n' ' ')$mib"
if [ ! -f "$archive" ] || [ "$(cat "$www/.archive-key" 2>/dev/null)" != "$key" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  /usr/bin/python3 "$here/make_payload.py" "$work" "$mib"
  cp "$lobby" "$work/Tolmaro/lobby.exe"
  # Fixed dates and sorted names, so the archive is the same bytes everywhere.
  find "$work/Tolmaro" -exec touch -h -d '2026-01-15 08:00:00 UTC' {} +
  mkdir -p "$archive_dir"
  rm -f "$archive"
  (cd "$work" && find Tolmaro | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$archive")
  touch -d '2026-01-15 08:00:00 UTC' "$archive"
  echo "$key" > "$www/.archive-key"
fi

mkdir -p "$www/banner_download"
cat > "$www/banner_download/index.do" <<'HTML'
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Tolmaro</title>
<style>body{margin:0;background:#1c2742;color:#fff;font:16px sans-serif}
div{height:174px;display:flex;align-items:center;justify-content:center;
background:linear-gradient(90deg,#27406e,#8a2f3a)}</style></head>
<body><div>Tolmaro 游戏大厅 — 新手礼包，登录即送</div></body></html>
HTML
echo "demo docroot ready: $archive ($(( $(stat -c %s "$archive") / 1048576 )) MiB)"
