#!/usr/bin/env bash
# One wineserver for a whole run of the Windows build's tests: a new server
# spends seconds starting Wine's services for its first program.
#   wineserver.sh up PIDFILE     start it, kept after its last client
#   wineserver.sh down PIDFILE   end it with the prefix's own processes, and
#                                wait for its PID (killed after 10 s)
set -u
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "$0")/../.." && pwd)/build/wineprefix}
case $1 in
  up)
    # The prefix is made first, by a server of its own that is gone before
    # ours starts: programs started while a kept server sets up a new
    # prefix can wait for ever.
    "$(dirname "$0")/../../scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1
    wineserver -w
    setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
    echo $! >"$2" ;;
  down)
    pid=$(cat "$2") && rm -f "$2"
    wineserver -k 2>/dev/null
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || exit 0; sleep 0.1; done
    kill -KILL "$pid" ;;
esac
