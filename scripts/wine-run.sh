#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, creating
# the prefix on first use. Used by ctest for the Windows build's tests.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  flock "$WINEPREFIX/.lock" -c 'test -f "$WINEPREFIX/system.reg" || wineboot -i >/dev/null 2>&1' || true
fi
exec wine "$@"
