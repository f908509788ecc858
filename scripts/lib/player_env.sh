# Sourced by the scripts that run the player against the substitute VOD server on loopback.
# Needs BIN (the installation folder, e.g. build/bin) and WORK (a scratch folder). Provides:
#   start_vodserver [options]   starts vodserver on a free port; sets VOD_PID and VOD_PORT
#   prepare_installation        registry stand-in with Path, NGTV.INI with [HTTP] PORT
#   stop_all                    ends what the script started (installed as an EXIT trap)
set -euo pipefail

start_vodserver() {
  "$BIN/vodserver" --port 0 --log "$WORK/requests.jsonl" "$@" > "$WORK/vodserver.out" 2> "$WORK/vodserver.err" &
  VOD_PID=$!
  for _ in $(seq 100); do
    VOD_PORT=$(sed -n 's/.*listening.*port=\([0-9]*\).*/\1/p' "$WORK/vodserver.out")
    [ -n "$VOD_PORT" ] && return 0
    sleep 0.1
  done
  echo "vodserver did not start:" >&2
  cat "$WORK/vodserver.err" >&2
  return 1
}

prepare_installation() {
  export NESTGATE_REGISTRY="$WORK/registry.ini"
  printf '[Software\\Nestgate]\r\nPath=%s\r\n' "$BIN" > "$NESTGATE_REGISTRY"
  export XDG_RUNTIME_DIR="$WORK/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

stop_all() {
  local pids
  pids=$(jobs -p)
  [ -n "$pids" ] && kill $pids 2>/dev/null || true
  wait 2>/dev/null || true
}
trap stop_all EXIT
