#!/usr/bin/env bash
# check_needed.sh <program> <library>...: the program binds each library at load time (a NEEDED
# entry) and finds it beside itself ($ORIGIN), so it does not start without them.
set -euo pipefail
program=$1; shift
dynamic=$(readelf -d "$program")
grep -q 'RUNPATH.*\$ORIGIN' <<< "$dynamic" || { echo "$program has no \$ORIGIN run path"; exit 1; }
for library in "$@"; do
  grep -q "NEEDED.*\[$library\]" <<< "$dynamic" || { echo "$program does not bind $library"; exit 1; }
done
