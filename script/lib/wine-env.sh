# Wine settings shared by every script that runs Windows code. Source it; it defines no output.
# - the 64-bit loader of Debian's wine64 package (the `wine` wrapper may try a 32-bit loader);
# - one prefix per run, WINEDEBUG quiet, no Mono or Gecko installer dialogs;
# - a Chinese locale, so GetACP() answers 936 like the users' systems.
tez_root=${tez_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
TEZ_WINE64=/usr/lib/wine/wine64
TEZ_WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX="${WINEPREFIX:-$tez_root/build/win64/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=;winemenubuilder.exe=}"
export LANG="${TEZ_LANG:-zh_CN.UTF-8}"
export WINESERVER="$TEZ_WINESERVER"

# Runs Wine's 64-bit loader. LC_ALL goes only to Wine (it takes the code page from LC_ALL
# first when the shell sets one); bash would warn that the locale is not generated.
tez_wine() { env LC_ALL="$LANG" "$TEZ_WINE64" "$@"; }

# Creates the prefix once (under a lock, since tests start in parallel) and maps the
# Chinese font families the program asks for to the installed CJK font. The mapping is a
# Wine font replacement: GDI+ finds a family only among enumerated fonts, which a
# FontSubstitutes entry does not add (and an entry of the same name blocks the replacement,
# so it is removed). "Microsoft Sans Serif" is GDI+'s generic sans-serif family, which a
# Windows system always has and the labels fall back to.
tez_wine_prefix_ready() {
  [ -f "$WINEPREFIX/.tez-ready-2" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.tez-ready-2" ] && exit 0
    tez_wine wineboot -i >/dev/null 2>&1 || true
    "$TEZ_WINESERVER" -w
    local reg="$WINEPREFIX/tez-fonts.reg"
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
      for family in 新宋体 微软雅黑 宋体 NSimSun SimSun "Microsoft YaHei"; do
        printf '"%s"=-\r\n' "$family"
      done
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for family in 新宋体 微软雅黑 宋体 NSimSun SimSun "Microsoft YaHei" "Microsoft Sans Serif"; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$family"
      done
      # A crashing test program must not start winedbg (it would keep the test's pipes
      # open); a debugger that cannot start lets the crash end the process.
      printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]\r\n'
      printf '"Debugger"="tez-no-debugger.exe"\r\n"Auto"="1"\r\n'
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    tez_wine regedit /S "$reg" >/dev/null 2>&1 || true
    "$TEZ_WINESERVER" -w
    touch "$WINEPREFIX/.tez-ready-2"
  ) 9>"$WINEPREFIX.lock"
}
