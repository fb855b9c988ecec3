# Driving the program under Wine as a user would: find its window, click at client positions,
# take screenshots, read what an install left behind. Source after wine-env.sh; uses xdotool.

TEZ_WINDOW_TITLE="客户端下载器"
# Client positions of the download window's buttons (their centres).
TEZ_INSTALL_BUTTON="499 300"   # install button at (425, 275), 148 x 50
TEZ_HIDE_BUTTON="582 18"       # cross at (565, 1), 34 x 34
# Error window (it covers the download window exactly): its two buttons, 89 x 32 each.
TEZ_ERROR_RETRY_BUTTON="374 221"  # at (330, 205)
TEZ_ERROR_OK_BUTTON="469 221"     # at (425, 205)

# Prints the id of the visible window titled like the download window, waiting up to
# <seconds>; fails when none appears.
tez_find_window() {  # [seconds]
  local deadline=$((SECONDS + ${1:-30})) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "^${TEZ_WINDOW_TITLE}\$" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.3
  done
  return 1
}

# True while a visible window of that title exists.
tez_window_visible() { xdotool search --onlyvisible --name "^${TEZ_WINDOW_TITLE}\$" >/dev/null 2>&1; }

# Window origin on the screen: "x y".
tez_window_origin() {  # window
  local X=0 Y=0 WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y"
}

# Moves the pointer onto a client position of the window and clicks there like a user: the
# pointer rests a moment (hover), then the button goes down and up.
tez_click() {  # window x y
  local ox oy
  read -r ox oy < <(tez_window_origin "$1")
  # (no --sync: it waits forever when the pointer is already there)
  xdotool mousemove $((ox + $2)) $((oy + $3))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
}

tez_screenshot() {  # file.png
  xwd -root -silent | convert xwd:- "$1"
}

# The Windows user's folders in the prefix.
tez_prefix_user_dir() {
  local u
  for u in "$WINEPREFIX"/drive_c/users/*; do
    [ "$(basename "$u")" = Public ] && continue
    echo "$u"; return 0
  done
  return 1
}

# A prefix's desktop links to the host's home folder; the tests and the demo keep the
# shortcut inside the prefix instead.
tez_private_desktop() {
  local desktop
  desktop="$(tez_prefix_user_dir)/Desktop"
  if [ -L "$desktop" ]; then rm -f "$desktop"; mkdir -p "$desktop"; fi
  echo "$desktop"
}

# Install folder as the program picks it: D:\Program Files\Tolmaro\ when the prefix has a D:
# drive, C:\Program Files\Tolmaro\ otherwise.
tez_install_dir() {
  if [ -e "$WINEPREFIX/dosdevices/d:" ]; then
    echo "$WINEPREFIX/dosdevices/d:/Program Files/Tolmaro"
  else
    echo "$WINEPREFIX/drive_c/Program Files/Tolmaro"
  fi
}

# Target path stored in a shell link (its local base path).
tez_link_target() {  # file.lnk
  /usr/bin/python3 - "$1" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
m = re.findall(rb"[A-Za-z]:\\[\x20-\x7e\x80-\xfe]*?lobby\.exe", data)
print(m[0].decode("gbk", "replace") if m else "(no target found)")
PY
}

# Default value of a registry key under HKEY_CURRENT_USER, or nothing.
tez_reg_default() {  # key below HKCU
  tez_wine reg query "HKCU\\$1" /ve 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/.*REG_SZ[[:space:]]*//p'
}

# Port of a host[:port] text (80 without one).
tez_host_port() { case "$1" in *:*) echo "${1##*:}" ;; *) echo 80 ;; esac; }
