#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own, made on first use, so that the
# user's ~/.wine is neither read nor changed. Without a program it only makes the prefix.
#
# Usage: scripts/wine.sh [PROGRAM.exe [argument ...]]
# Environment: WINEPREFIX   the prefix (default build-windows/wineprefix)

set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
command -v wine >/dev/null || { echo "wine is missing: run scripts/build-windows.sh" >&2; exit 1; }

ready=$WINEPREFIX/.voltara-ready
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    # Test programs may start at the same moment; one of them makes the prefix.
    flock 9
    if [ ! -f "$ready" ]; then
      # Without a display and with Mono and Gecko turned off, nothing offers to install them.
      env -u DISPLAY WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
      wineserver -w
      touch "$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
[ $# -eq 0 ] && exit 0
exec wine "$@"
