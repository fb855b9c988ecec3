#!/usr/bin/env bash
# Builds the document root the pipeline tests download from: the installer archive (made with
# the zip tool) holding the demo lobby, and a statistics page.
#   make_pipeline_www.sh <docroot> <lobby.exe>
set -euo pipefail
www=${1:?document root}
lobby=${2:?lobby.exe}
mkdir -p "$www"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Tolmaro/data"
printf 'Tolmaro lobby\r\n' > "$work/Tolmaro/readme.txt"
cp "$lobby" "$work/Tolmaro/lobby.exe"
# Compressible filler large enough that a damaged byte in its middle lands in deflated data.
/usr/bin/python3 -c 'import sys
for i in range(40000): sys.stdout.write("line %06d of the lobby data file\n" % i)' > "$work/Tolmaro/data/big.txt"
rm -f "$www/tez_lobby.zip"
# Item order matters to the tests: readme.txt comes before lobby.exe.
(cd "$work" && zip -q -X "$www/tez_lobby.zip" Tolmaro/ Tolmaro/readme.txt Tolmaro/lobby.exe \
  Tolmaro/data/ Tolmaro/data/big.txt)
# A fixed date, so a test can stamp a local copy the way a finished download leaves it.
touch -d '2015-10-21 07:28:00 UTC' "$www/tez_lobby.zip"
stats="$www/ajax/quickDownLoadStatistics"
mkdir -p "$stats"
printf 'ok\n' > "$stats/quickDownStatistics.jsp"
echo "pipeline docroot ready in $www"
