# Shared by the acceptance scenarios: a private Xvfb, the demo server on the program's port,
# the program under Wine as Download_tez_200064.exe in the suite's prefix, with every piece of
# state an earlier scenario could leave (install folder, desktop shortcut, registry value)
# removed first. Source it from a scenario; it stops what it started when the scenario ends.
#   environment: TEZ_SOURCE_DIR, TEZ_BINARY_DIR, TEZ_DOWNLOAD_PORT, TEZ_PROGRAM (the .exe)
set -euo pipefail
root=${TEZ_SOURCE_DIR:?}
build=${TEZ_BINARY_DIR:?}
port=${TEZ_DOWNLOAD_PORT:?}
suite="$build/acceptance"
scenario=$(basename "$0" .sh)
work="$suite/$scenario"
export WINEPREFIX="$suite/wineprefix"
source "$root/script/lib/wine-env.sh"
source "$root/script/lib/xvfb.sh"
source "$root/script/lib/drive.sh"
www="$suite/www"
archive="$www/update/tuiguang/tg_tez/tez_lobby.zip"
server="$work/server"
program_pid=""

# Scenario output: "<scenario>: ..." lines; fail prints and exits.
say() { echo "$scenario: $*"; }
fail() {
  echo "$scenario: FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && tez_screenshot "$work/failure.png" 2>/dev/null && echo "screenshot: $work/failure.png" >&2
  [ -f "$server/access.log" ] && { echo "server log:" >&2; tail -n 20 "$server/access.log" >&2; }
  exit 1
}

finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  "$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
  bash "$root/demo/server/nginx.sh" stop "$server" >/dev/null 2>&1 || true
  tez_xvfb_stop
}
trap finish EXIT

# Waits up to <seconds> for a command to succeed.
wait_for() {  # seconds command...
  local deadline=$((SECONDS + $1))
  shift
  while ! "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

server_start() {  # docroot rate
  bash "$root/demo/server/nginx.sh" start "$server" "$port" "$1" "$2" >/dev/null
}
server_stop() { bash "$root/demo/server/nginx.sh" stop "$server"; }

# Fresh state for one scenario: no Wine process, its own Xvfb, nothing installed, no
# shortcut, no registry value, empty server logs.
fresh_state() {
  rm -rf "$work"
  mkdir -p "$work"
  "$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
  [ -f "$WINEPREFIX/.tez-ready-2" ] || fail "the suite's prefix is missing (fixture acceptance_setup)"
  unset DISPLAY
  tez_xvfb_start
  install_dir=$(tez_install_dir)
  rm -rf "$install_dir"
  desktop=$(tez_private_desktop)
  rm -f "$desktop/Tolmaro.lnk"
  tez_wine reg delete 'HKCU\SOFTWARE\ZEKUGame' /f >/dev/null 2>&1 || true
  file="$install_dir/tez_lobby.install"
  exe="$work/Download_tez_200064.exe"
  cp "${TEZ_PROGRAM:?}" "$exe"
}

# Starts the program in the background; its exit code lands in $work/exit-code.<n>.
starts=0
start_program() {
  starts=$((starts + 1))
  local n=$starts
  rm -f "$work/exit-code.$n"
  (
    cd "$work"
    rc=0
    tez_wine "$exe" >"$work/wine.$n.log" 2>&1 </dev/null || rc=$?
    echo $rc > "$work/exit-code.$n"
  ) &
  program_pid=$!
  last_start=$n
}
# Starts the program, waits for its window ($window) and clicks the install button, as a
# user does first.
start_install() {
  start_program
  window=$(tez_find_window 60) || fail "the window did not appear"
  sleep 1
  tez_click "$window" $TEZ_INSTALL_BUTTON
}
# Waits for the last started copy to end; prints its exit code.
wait_exit() {  # seconds
  wait_for "$1" test -f "$work/exit-code.$last_start" || return 1
  program_pid=""
  cat "$work/exit-code.$last_start"
}
# Kills the last started copy and every Wine process of the prefix at once (SIGKILL).
kill_program() {
  "$TEZ_WINESERVER" -k9 >/dev/null 2>&1 || "$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
  wait_for 10 test -f "$work/exit-code.$last_start" || true
  program_pid=""
}

file_size() { stat -c %s "$file" 2>/dev/null || echo 0; }
size_above() { [ "$(file_size)" -gt "$1" ]; }
window_gone() { ! tez_window_visible; }
# Lines of the server log asking for the archive.
archive_requests() { grep -c 'GET /update/tuiguang/tg_tez/tez_lobby.zip' "$server/access.log" || true; }

# The install folder holds exactly the archive's files, byte for byte.
check_unpacked() {
  local ref="$work/reference"
  rm -rf "$ref"
  mkdir -p "$ref"
  env LC_ALL=C.UTF-8 unzip -qq "$archive" -d "$ref"
  diff -r -q -x tez_lobby.install -x IsLobbyLogin.dat -x lobby_record.txt -x crash.dat \
    "$ref/Tolmaro" "$install_dir" >"$work/diff.txt" 2>&1 || { cat "$work/diff.txt" >&2; fail "the install folder differs from the archive"; }
  rm -rf "$ref"
}

# Crop of a client rectangle of the window from a screenshot.
crop() {  # window shot.png x0 y0 x1 y1 out.png
  local ox oy
  read -r ox oy < <(tez_window_origin "$1")
  convert "$2" -crop "$(($5 - $3))x$(($6 - $4))+$((ox + $3))+$((oy + $4))" +repage "$7"
}
# Pixels that differ between the texts of two pictures of the same size: light or red glyphs
# on the skin's dark panels, so only the red channel's bright pixels are compared and a
# change of the panel's shade does not count.
pixels_differ() {
  convert "$1" -channel R -separate -threshold 50% +channel "$work/mask-a.png"
  convert "$2" -channel R -separate -threshold 50% +channel "$work/mask-b.png"
  compare -metric AE "$work/mask-a.png" "$work/mask-b.png" null: 2>&1 | sed "s/[^0-9].*//" || true
}
# Map state of an X window: true when it is shown.
mapped() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
# Shown top-level windows of the program as big as the download window: 1 normally, 2 while
# the error window (laid exactly over it) is up.
program_windows() {
  xwininfo -root -tree | grep -i 'download_tez' | grep -c ' 600x350+' || true
}
error_window_shown() {
  local id n=0
  for id in $(xdotool search --onlyvisible --classname 'download_tez' 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Width: 600' && n=$((n + 1))
  done
  [ $n -ge 2 ]
}
# The error window's title, (102, 100)-(300, 125), is drawn in red; with a reviewed picture of
# the expected title beside the scenario it must also match that.
check_error_title() {  # window reference.png what
  tez_screenshot "$work/error.png"
  crop "$1" "$work/error.png" 102 100 300 125 "$work/error-title.png"
  local red diff
  red=$(convert "$work/error-title.png" -fx '(r>0.6 && g<0.3 && b<0.3) ? 1 : 0' -format '%[fx:int(mean*w*h)]' info:)
  [ "$red" -ge 40 ] || fail "no red title on the error window ($red red pixels; see $work/error-title.png)"
  if [ -f "$(dirname "$0")/$2" ]; then
    diff=$(pixels_differ "$work/error-title.png" "$(dirname "$0")/$2")
    [ "$diff" -le 30 ] 2>/dev/null || fail "error title is not $3 ($diff pixels differ; see $work/error-title.png)"
  fi
}
# Unix process id of the last started copy (the Wine loader running it).
program_unix_pid() { pgrep -f -n -- "$exe" || true; }
