#!/usr/bin/env bash
# Hide to the tray during a download: the window goes, the download goes on, and a click on
# the tray icon brings the window back; the install then completes.
source "$(dirname "$0")/common.sh"
fresh_state
server_start "$www" 3m
start_install
wait_for 30 size_above $((2 * 1048576)) || fail "the download did not start"
tez_click "$window" $TEZ_HIDE_BUTTON
wait_for 10 eval '! mapped "$window"' || fail "the window is still shown"
hidden_at=$(file_size)
wait_for 10 size_above $((hidden_at + 2 * 1048576)) || fail "the download stopped while hidden"
say "hidden; the download went on ($hidden_at -> $(file_size) bytes)"

# Without a desktop shell Wine shows the notification area as a window of its own.
tray=$(xdotool search --name '^Wine System Tray$' | head -n1) || true
[ -n "$tray" ] || fail "no notification area window"
mapped "$tray" || fail "the notification area is not shown"
tez_screenshot "$work/tray.png"
read -r tx ty < <(tez_window_origin "$tray")
xdotool mousemove $((tx + 10)) $((ty + 10))
sleep 0.3
xdotool click 1
wait_for 10 mapped "$window" || fail "a click on the tray icon did not restore the window"
say "restored through the tray icon"
code=$(wait_exit 90) || fail "the program did not end"
[ "$code" = 0 ] || fail "exit code $code"
check_unpacked
say "installed byte for byte"
