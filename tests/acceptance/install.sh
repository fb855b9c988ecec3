#!/usr/bin/env bash
# Install from start to finish: the user clicks the install button; the archive is unpacked
# byte for byte, the desktop shortcut points at lobby.exe, the type 1 report arrives with its
# exact keys, the marker file is written, the lobby runs and the program ends with code 0.
source "$(dirname "$0")/common.sh"
fresh_state
server_start "$www" 0
start_install
code=$(wait_exit 90) || fail "the program did not end within 90 s of the click"
[ "$code" = 0 ] || fail "exit code $code"
wait_for 20 test -f "$install_dir/lobby_record.txt" || fail "the lobby did not run"
check_unpacked
say "unpacked byte for byte"

[ -f "$desktop/Tolmaro.lnk" ] || fail "no desktop shortcut"
target=$(tez_link_target "$desktop/Tolmaro.lnk")
case "$target" in
  'C:\Program Files\Tolmaro\'*lobby.exe|'D:\Program Files\Tolmaro\'*lobby.exe) ;;
  *) fail "shortcut target $target" ;;
esac
say "shortcut -> $target"

stats=$(grep 'StatistsType=1' "$server/stats.log" || true)
[ -n "$stats" ] || fail "no type 1 report: $(cat "$server/stats.log")"
echo "$stats" | grep -Eq '"GET /ajax/quickDownLoadStatistics/quickDownStatistics\.jsp\?SiteID=30&StatistsType=1&UnzipResult=[^& ]+&channalID=200064 HTTP/1\.[01]" 200 ' \
  || fail "report query: $stats"
say "report: $stats"

marker=$(tr -d '\r' < "$install_dir/IsLobbyLogin.dat" 2>/dev/null) || fail "no marker file"
echo "$marker" | grep -qx 'ChannelID=200064' || fail "marker file: $marker"
value=$(tez_reg_default 'SOFTWARE\ZEKUGame\Lobby\Share\shareid_30')
[ "$value" = 200064 ] || fail "registry value: '$value'"
record=$(tr -d '\r' < "$install_dir/lobby_record.txt")
echo "$record" | grep -qx 'channelid=200064' || fail "lobby record: $record"
echo "$record" | grep -qx 'shareid_30=200064' || fail "lobby record: $record"
say "marker, registry value and lobby record hold 200064"
