#!/usr/bin/env bash
# Runs a program in a virtual display and saves a screenshot of the screen,
# for looking at windows as a user would.
#   scripts/screenshot.sh OUT.png SECONDS [--keys "KEY..."] -- PROGRAM [ARGS...]
# --keys sends xdotool key names (e.g. "alt+v") once the window is up.
set -euo pipefail
out=$1 wait=$2
shift 2
keys=""
if [ "${1:-}" = --keys ]; then keys=$2; shift 2; fi
[ "${1:-}" = -- ] && shift
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$@" &
  pid=$!
  sleep '"$wait"'
  for k in '"$keys"'; do xdotool key "$k"; sleep 0.7; done
  xwd -root -silent | /usr/bin/convert xwd:- png:'"$out"'
  kill $pid 2>/dev/null || true
' bash "$@"
echo "screenshot: $out"
