#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   scripts/test.sh             normal build
#   scripts/test.sh --sanitize  built with AddressSanitizer and UBSan
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh"
build=$(bash "$root/scripts/build.sh" "$@" | tail -n 1)

# Tests never touch the user's own registry, settings, desktop folder or
# display.
scratch=$(mktemp -d /tmp/wexal-tests-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
export WEXAL_REGISTRY="$scratch/registry.reg"
export XDG_CONFIG_HOME="$scratch/config"
export XDG_DATA_HOME="$scratch/data"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
