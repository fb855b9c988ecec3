#!/usr/bin/env bash
# A second copy started while the first is idle starts the first copy's download and exits.
source "$(dirname "$0")/common.sh"
fresh_state
server_start "$www" 0
start_program
first=$last_start
first_pid=$program_pid
tez_find_window 60 >/dev/null || fail "the window did not appear"
sleep 1
[ "$(archive_requests)" = 0 ] && [ ! -e "$file" ] || fail "the download began before any click"
start_program
code=$(wait_exit 30) || fail "the second copy did not end"
[ "$code" = 0 ] || fail "the second copy ended with $code"
say "second copy ended with code 0"
last_start=$first
program_pid=$first_pid
code=$(wait_exit 90) || fail "the first copy did not install and end"
[ "$code" = 0 ] || fail "the first copy ended with $code"
check_unpacked
say "the first copy downloaded and installed"
