#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize).
# Prints the build folder on its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build="$root/build"
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-sanitize"
  extra+=(-DWEXAL_SANITIZE=ON -DWEXAL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi

cmake -S "$root" -B "$build" -G Ninja "${extra[@]}" >&2
cmake --build "$build" -j "$(nproc)" >&2
echo "$build"
