#!/usr/bin/env bash
# The server is down: with the test build's low attempt bound the download failure window
# (下载失败：) appears; the server comes back and 重新下载 completes the install.
source "$(dirname "$0")/common.sh"

# The low bound is in the test build only: the shipped program keeps 100000 attempts.
bound() {  # exe -> the linked value of DownloadAttemptLimit
  local address
  address=$(x86_64-w64-mingw32-nm "$1" | awk '/ DownloadAttemptLimit$/ { print $1 }')
  [ -n "$address" ] || { echo missing; return; }
  x86_64-w64-mingw32-objdump -s --start-address="0x$address" \
    --stop-address="$(printf '0x%x' $((0x$address + 4)))" "$1" |
    awk 'NF >= 2 && $1 ~ /^[0-9a-f]+$/ { v = $2 } END { print v }' |
    { read -r v; echo $((16#${v:6:2}${v:4:2}${v:2:2}${v:0:2})); }
}
[ "$(bound "$TEZ_PROGRAM")" = 100000 ] || fail "Download_tez has $(bound "$TEZ_PROGRAM") attempts"
[ "$(bound "$TEZ_PROGRAM_TESTLIMIT")" -lt 100 ] || fail "the test build has $(bound "$TEZ_PROGRAM_TESTLIMIT") attempts"
say "attempt bound: $(bound "$TEZ_PROGRAM") in Download_tez, $(bound "$TEZ_PROGRAM_TESTLIMIT") in the test build"

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
