#!/usr/bin/env bash
# Sets up the machine, builds Velorin and starts it. Without a display it runs the program under
# a virtual X server, saves a screenshot of its window and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DVELORIN_TESTS=OFF -DVELORIN_BENCH=OFF
bin="$root/build/src/app/velorin"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin"
fi

shot="$root/velorin-screenshot.png"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$1" & pid=$!
  for _ in $(seq 50); do
    win=$(xdotool search --name "^Velorin$" 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    sleep 0.2
  done
  sleep 1
  if [ -n "$win" ]; then import -window "$win" "$2"; else import -window root "$2"; fi
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$bin" "$shot"
echo "No display found: Velorin ran under Xvfb and its window was saved to $shot"
