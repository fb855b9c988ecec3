#!/usr/bin/env bash
# Fixture of the acceptance suite: the demo document root (archive with the demo lobby,
# banner), a damaged copy of the archive, and a fresh Wine prefix shared by the scenarios
# (each scenario clears what an earlier one left).
set -euo pipefail
root=${TEZ_SOURCE_DIR:?}
build=${TEZ_BINARY_DIR:?}
suite="$build/acceptance"
mkdir -p "$suite"
bash "$root/demo/server/make_www.sh" "$suite/www" "$build/demo/lobby.exe"

# Damaged: bytes in the middle of the largest deflated item are overwritten, so the archive
# downloads whole and fails only when it is unpacked.
damaged="$suite/www-damaged"
rm -rf "$damaged"
mkdir -p "$damaged/update/tuiguang/tg_tez"
cp -p "$suite/www/update/tuiguang/tg_tez/tez_lobby.zip" "$damaged/update/tuiguang/tg_tez/"
/usr/bin/python3 - "$damaged/update/tuiguang/tg_tez/tez_lobby.zip" <<'PY'
import struct, sys, zipfile
path = sys.argv[1]
with zipfile.ZipFile(path) as z:
    item = max((i for i in z.infolist() if i.compress_type == zipfile.ZIP_DEFLATED),
               key=lambda i: i.compress_size)
with open(path, "r+b") as f:
    f.seek(item.header_offset + 26)
    name_len, extra_len = struct.unpack("<HH", f.read(4))
    data = item.header_offset + 30 + name_len + extra_len
    f.seek(data + item.compress_size // 2)
    f.write(bytes((i * 37 + 11) & 0xFF for i in range(64)))
print("damaged %s at %d" % (item.filename, data + item.compress_size // 2))
PY
touch -d '2026-01-15 08:00:00 UTC' "$damaged/update/tuiguang/tg_tez/tez_lobby.zip"

export WINEPREFIX="$suite/wineprefix"
source "$root/script/lib/wine-env.sh"
"$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
tez_wine_prefix_ready
"$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
echo "acceptance: document roots and prefix ready in $suite"
