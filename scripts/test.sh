#!/usr/bin/env bash
# Installs what is missing, builds and runs every test, and says how many
# skipped.
#   scripts/test.sh             normal build
#   scripts/test.sh --sanitize  built with AddressSanitizer and UBSan
# LibreOffice stays optional here (scripts/install-deps.sh --office brings
# it): the one check that needs it skips without it, except under CI=true.
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

status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" | tee "$scratch/ctest.log" || status=$?

# A skip counts as a pass in ctest's total: say how many there were. Under
# CI=true a test that lacks a program or service fails instead; what still
# skips there is a test the machine does not allow (a mount, say).
skipped=$(grep -c ' (Skipped)$' "$scratch/ctest.log" || true)
if [ "$skipped" -eq 0 ]; then
  echo "tests skipped: 0"
else
  echo "tests skipped: $skipped (ctest lists them under \"did not run\"): a program or" \
    "service they need is missing here, or the machine does not allow what they do"
fi
exit "$status"
