#!/usr/bin/env bash
# Pause and continue: after the pause click no byte reaches the file for two seconds and the
# speed text reads 当前下载速度：0K/S; after the continue click the download finishes and the
# install completes.
source "$(dirname "$0")/common.sh"
fresh_state
server_start "$www" 3m
start_install
wait_for 30 size_above $((4 * 1048576)) || fail "the download did not start"
tez_click "$window" $TEZ_INSTALL_BUTTON
sleep 1
before=$(file_size)
tez_screenshot "$work/paused-1.png"
sleep 2
after=$(file_size)
tez_screenshot "$work/paused-2.png"
[ "$before" = "$after" ] || fail "the file grew from $before to $after bytes while paused"
say "no bytes for two seconds while paused (file at $before bytes)"

# The speed text: the left part of its label, (240, 280)-(420, 305), where the install button
# does not reach, against the picture of 当前下载速度：0K/S taken from a reviewed run.
crop "$window" "$work/paused-2.png" 240 280 420 305 "$work/speed.png"
diff=$(pixels_differ "$work/speed.png" "$(dirname "$0")/paused-speed.png")
[ "$diff" -le 30 ] 2>/dev/null || fail "speed text differs from 0K/S in $diff pixels (see $work/speed.png)"
say "speed text reads 0K/S"

tez_click "$window" $TEZ_INSTALL_BUTTON
wait_for 20 size_above "$after" || fail "the download did not continue"
code=$(wait_exit 90) || fail "the program did not end after continuing"
[ "$code" = 0 ] || fail "exit code $code"
check_unpacked
say "continued and installed byte for byte"
