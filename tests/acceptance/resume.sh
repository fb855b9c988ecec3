#!/usr/bin/env bash
# Killed in the middle of the download (SIGKILL) and started again: the server sees a range
# request continuing the file, and the install is byte for byte.
source "$(dirname "$0")/common.sh"
fresh_state
server_start "$www" 3m
start_install
wait_for 30 size_above $((8 * 1048576)) || fail "the download did not start"
pid=$(program_unix_pid)
[ -n "$pid" ] || fail "no process for $exe"
kill -KILL "$pid"
wait_for 10 test -f "$work/exit-code.$last_start" || fail "the killed copy did not end"
"$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
partial=$(file_size)
say "killed at $partial bytes"

start_program
window=$(tez_find_window 60) || fail "the window did not appear again"
sleep 1
tez_click "$window" $TEZ_INSTALL_BUTTON
code=$(wait_exit 90) || fail "the program did not end"
[ "$code" = 0 ] || fail "exit code $code"
ranges=$(grep -o 'tez_lobby.zip HTTP/1.[01]" 206 [0-9]* range="bytes=[0-9]*-"' "$server/access.log" || true)
[ -n "$ranges" ] || fail "no range request continued the file"
first=$(echo "$ranges" | head -n1 | sed 's/.*bytes=\([0-9]*\)-.*/\1/')
[ "$first" -gt 0 ] && [ "$first" -le "$partial" ] || fail "range starts at $first, file had $partial bytes"
say "continued with range bytes=$first-"
check_unpacked
say "installed byte for byte"
