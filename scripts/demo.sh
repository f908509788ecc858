#!/usr/bin/env bash
# The demo: installs what is missing, builds, starts the substitute VOD server on loopback and
# the player against it. With a display (DISPLAY set) the player opens there and the demo ends
# when the player ends (tray menu "종료"); without one it runs under Xvfb for DEMO_SECONDS
# (default 20), saves a screenshot in build/demo/ and prints what the player asked the server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"

BIN=$PWD/build/bin
WORK=$PWD/build/demo
rm -rf "$WORK" && mkdir -p "$WORK"
source scripts/lib/player_env.sh
start_vodserver
prepare_installation
echo "substitute VOD server on 127.0.0.1:$VOD_PORT (request log: $WORK/requests.jsonl)"

if [ -n "${DISPLAY:-}" ]; then
  "$BIN/RVMC" 127.0.0.1 ":$VOD_PORT"
else
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1/RVMC" 127.0.0.1 ":$2" > "$3/rvmc.log" 2>&1 &
    player=$!
    sleep "$4"
    window=$(xwininfo -root -tree | awk "/\"Lodgeview TV/ {print \$1; exit}")
    import -window "$window" "$3/screenshot.png"
    kill $player; wait $player 2>/dev/null || true' _ "$BIN" "$VOD_PORT" "$WORK" "${DEMO_SECONDS:-20}"
  echo "screenshot: $WORK/screenshot.png"
  echo "the player asked the server:"
  grep -o '"target":"[^"]*"' "$WORK/requests.jsonl" | sed 's/"target":/  /'
fi
