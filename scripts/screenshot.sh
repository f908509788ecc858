#!/usr/bin/env bash
# Takes a screenshot of the player's main window with the substitute server's menu pages loaded,
# under Xvfb: docs/screenshots/main-window.png. Needs a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=$PWD/build/bin
WORK=$(mktemp -d)
source scripts/lib/player_env.sh
start_vodserver
prepare_installation
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$0/RVMC" 127.0.0.1 ":$1" > "$2/rvmc.log" 2>&1 &
  player=$!
  sleep 8   # the menu pages load at the 3-second tick
  window=$(xwininfo -root -tree | awk "/\"Lodgeview TV/ {print \$1; exit}")
  import -window "$window" docs/screenshots/main-window.png
  kill $player; wait $player 2>/dev/null || true' "$BIN" "$VOD_PORT" "$WORK"
echo "docs/screenshots/main-window.png"
