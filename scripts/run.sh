#!/usr/bin/env bash
# Starts vek.exe under Wine: on the user's display when there is one that
# works, otherwise on a virtual display (Xvfb), where a screenshot is saved
# to build/run.png and everything started here is stopped again.
# Arguments are handed to vek.exe as its command line (a target to look up).
set -eu
cd "$(dirname "$0")/.."
exe=build/win/vek.exe
[ -f "$exe" ] || { echo "run: $exe is missing (make win)" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec scripts/wine-run.sh "$exe" "$@"
fi

display=${VEK_RUN_DISPLAY:-77}
xvfb_pid="" wine_pid=""
stop() {
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap stop EXIT
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
scripts/wine-run.sh "$exe" "$@" >/dev/null 2>&1 &
wine_pid=$!
# Wait (bounded) for the window, then give a lookup a moment to report.
for _ in $(seq 120); do
  xdotool search --name '^DNS lookup$' >/dev/null 2>&1 && break
  sleep 0.25
done
sleep "${VEK_RUN_SETTLE:-3}"
import -window root build/run.png
echo "run: no display; screenshot of the window saved to build/run.png"
