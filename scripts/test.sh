#!/usr/bin/env bash
# The project's test command: installs what is missing, builds, and runs every test; then
# builds the tests again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them
# (all but those labelled "gui", whose browser engine and media player are not built for it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLODGEVIEW_SANITIZE=ON -DLODGEVIEW_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE gui
