#!/usr/bin/env bash
# Ends every Wine process of the acceptance suite's prefix.
set -uo pipefail
export WINEPREFIX="${TEZ_BINARY_DIR:?}/acceptance/wineprefix"
source "${TEZ_SOURCE_DIR:?}/script/lib/wine-env.sh"
"$TEZ_WINESERVER" -k >/dev/null 2>&1 || true
exit 0
