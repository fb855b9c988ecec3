#!/usr/bin/env bash
# An archive that cannot be unpacked: 安装失败： is shown and a type 2 report is sent.
source "$(dirname "$0")/common.sh"
fresh_state
server_start "$suite/www-damaged" 0
start_program
window=$(tez_find_window 60) || fail "the window did not appear"
sleep 1
tez_click "$window" $TEZ_INSTALL_BUTTON
wait_for 60 error_window_shown || fail "no error window"
sleep 1
check_error_title "$window" error-install.png 安装失败：
say "install failure shown"
wait_for 10 grep -q 'StatistsType=2' "$server/stats.log" || fail "no type 2 report: $(cat "$server/stats.log")"
grep -Eq 'quickDownStatistics\.jsp\?SiteID=30&StatistsType=2&UnzipResult=[^& ]+&channalID=200064 ' "$server/stats.log" \
  || fail "report: $(cat "$server/stats.log")"
say "report: $(grep StatistsType=2 "$server/stats.log")"
grep -q 'StatistsType=1' "$server/stats.log" && fail "a success report was sent too"
[ ! -f "$work/exit-code.$last_start" ] || fail "the program ended"
exit 0
