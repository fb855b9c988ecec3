#!/usr/bin/env bash
# The server is down: with the test build's low attempt bound the download failure window
# (下载失败：) appears; the server comes back and 重新下载 completes the install.
source "$(dirname "$0")/common.sh"
fresh_state
cp "${TEZ_PROGRAM_TESTLIMIT:?}" "$exe"
start_program
window=$(tez_find_window 60) || fail "the window did not appear"
sleep 1
tez_click "$window" $TEZ_INSTALL_BUTTON
wait_for 60 error_window_shown || fail "no error window while the server is down"
sleep 1
check_error_title "$window" error-download.png 下载失败：
say "download failure shown"
server_start "$www" 0
tez_click "$window" $TEZ_ERROR_RETRY_BUTTON
code=$(wait_exit 90) || fail "the program did not end after 重新下载"
[ "$code" = 0 ] || fail "exit code $code"
check_unpacked
say "重新下载 installed byte for byte"
