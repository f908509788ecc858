#!/usr/bin/env bash
# Measures the player on this machine under Xvfb against the substitute server:
#  - start-up: process start to the main window's first paint (the player traces it), over
#    RUNS runs (default 11), median and range;
#  - memory: after the menu pages have loaded, the proportional set size (PSS) and the resident
#    set size (RSS) summed over the player and all its child processes (the browser engine's).
# Needs a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=$PWD/build/bin
WORK=$(mktemp -d)
RUNS=${RUNS:-11}
source scripts/lib/player_env.sh
start_vodserver
prepare_installation

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  BIN=$1 PORT=$2 WORK=$3 RUNS=$4
  for i in $(seq "$RUNS"); do
    "$BIN/RVMC" 127.0.0.1 ":$PORT" > "$WORK/run$i.log" 2>&1 &
    player=$!
    for _ in $(seq 100); do grep -q "main window shown" "$WORK/run$i.log" && break; sleep 0.1; done
    if [ "$i" -eq "$RUNS" ]; then
      sleep 8   # menu pages load at the 3-second tick; let them settle
      tree="$player $(pgrep -d " " -P "$player") "
      for child in $(pgrep -P "$player"); do tree="$tree $(pgrep -d " " -P "$child")"; done
      pss=0; rss=0; n=0
      for pid in $tree; do
        read -r p r < <(awk "/^Pss:/ {p=\$2} /^Rss:/ {r=\$2} END {print p, r}" /proc/$pid/smaps_rollup)
        pss=$((pss + p)); rss=$((rss + r)); n=$((n + 1))
      done
      echo "memory: $n processes, PSS $((pss / 1024)) MiB, RSS $((rss / 1024)) MiB"
    fi
    kill $player; wait $player 2>/dev/null || true
  done' _ "$BIN" "$VOD_PORT" "$WORK" "$RUNS"

grep -ho "shown [0-9]* ms" "$WORK"/run*.log | awk '{print $2}' | sort -n > "$WORK/startup.txt"
n=$(wc -l < "$WORK/startup.txt")
median=$(sed -n "$(( (n + 1) / 2 ))p" "$WORK/startup.txt")
echo "start-up to first paint: median ${median} ms over $n runs (min $(head -1 "$WORK/startup.txt"), max $(tail -1 "$WORK/startup.txt"))"
