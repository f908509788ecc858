#!/usr/bin/env bash
# check_exports.sh <library> <symbol>...: the library's defined dynamic symbols are exactly the
# given ones (in any order).
set -euo pipefail
lib=$1; shift
actual=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
if [ "$actual" != "$expected" ]; then
  echo "$lib exports: $actual"
  echo "expected:      $expected"
  exit 1
fi
