#!/usr/bin/env bash
# End to end under Xvfb: the player starts against the substitute server on loopback, looks the
# site name up once and stores it, shows its main window captioned with it, and loads both menu
# pages at the 3-second tick. Usage: player_start.sh <bin folder>
set -euo pipefail
BIN=$1
WORK=$(mktemp -d)
source "$(dirname "$0")/../../scripts/lib/player_env.sh"
start_vodserver
prepare_installation

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$1/RVMC" 127.0.0.1 ":$2" > "$3/rvmc.log" 2>&1 &
  player=$!
  sleep 6
  xwininfo -root -tree > "$3/windows.txt"
  kill $player; wait $player 2>/dev/null || true' _ "$BIN" "$VOD_PORT" "$WORK"

fail() { echo "FAIL: $*"; echo "--- player log"; cat "$WORK/rvmc.log"; exit 1; }
grep -q "main window shown" "$WORK/rvmc.log" || fail "the main window was not shown"
grep -q '"Lodgeview TV  \[한빛모텔\]"' "$WORK/windows.txt" || fail "no window captioned with the site name"
grep -q 'NM_SITE=한빛모텔' "$NESTGATE_REGISTRY" || fail "site name not stored"
log=$(grep -o '"path":"[^"]*"\|"cmd":"[^"]*"' "$WORK/requests.jsonl" | tr '\n' ' ')
for expected in '"cmd":"IF-SCS-17"' '"path":"/ZUVU_MS/pc/movie.do"' '"path":"/ZUVU_MS/pc/new_movie.do"'; do
  case "$log" in *"$expected"*) ;; *) fail "server never saw $expected: $log" ;; esac
done
echo "player started, site stored, menu pages loaded"
