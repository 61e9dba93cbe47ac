#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) and runs each for
# a short while, all at once, on a scratch copy of its seed corpus, so the
# committed corpus stays as it is; then runs every input that once failed
# (fuzz/regressions/<target>/) once. Exits non-zero on any crash, hang, leak
# or sanitizer report; the failing input is kept and named in the output.
#   scripts/fuzz.sh              20 seconds per target
#   FUZZ_SECONDS=300 scripts/fuzz.sh
# The build goes to build-fuzz/ (or $WEXAL_FUZZ_BUILD).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${WEXAL_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-20}"
targets=(config_fuzzer route_file_fuzzer pdb_fuzzer registry_fuzzer workbook_fuzzer version_fuzzer
  desktop_config_fuzzer)

bash "$root/scripts/install-deps.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DWEXAL_FUZZ=ON \
  -DWEXAL_BUILD_TESTS=OFF -DWEXAL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

scratch=$(mktemp -d /tmp/wexal-fuzz-XXXXXX)
keep=0
trap '[ "$keep" = 1 ] || rm -rf "$scratch"' EXIT
# The code under test must not reach the user's own registry, settings or
# desktop folder.
export WEXAL_REGISTRY="$scratch/registry.reg"
export XDG_CONFIG_HOME="$scratch/config"
export XDG_DATA_HOME="$scratch/data"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
options=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

# run <target> <log> <arguments>...: the target in a scratch folder of its own
# (its files and any crash input land there); its output goes to the log.
run() {
  local target=$1 log=$2
  shift 2
  local work="$scratch/$target"
  mkdir -p "$work/tmp"
  (cd "$work" && TMPDIR="$work/tmp" "$build/bin/$target" "${options[@]}" \
    -artifact_prefix="$work/" "$@") >"$log" 2>&1
}

declare -A pids
for target in "${targets[@]}"; do
  corpus="$scratch/corpus/$target"
  mkdir -p "$corpus"
  cp -R "$root/fuzz/corpus/$target/." "$corpus/"
  dictionary=()
  if [ -f "$root/fuzz/$target.dict" ]; then
    dictionary=(-dict="$root/fuzz/$target.dict")
  fi
  run "$target" "$scratch/$target.log" -max_total_time="$seconds" "${dictionary[@]}" "$corpus" &
  pids[$target]=$!
done

failed=()
for target in "${targets[@]}"; do
  if wait "${pids[$target]}"; then
    echo "fuzz: $target: $(grep -E '^Done [0-9]+ runs' "$scratch/$target.log" || echo done)"
  else
    failed+=("$target")
    echo "fuzz: $target FAILED; its last output:" >&2
    tail -n 60 "$scratch/$target.log" >&2
  fi
done

for target in "${targets[@]}"; do
  inputs=("$root/fuzz/regressions/$target"/*)
  [ -e "${inputs[0]}" ] || continue
  if run "$target" "$scratch/$target.regressions.log" -runs=1 "${inputs[@]}"; then
    echo "fuzz: $target: ${#inputs[@]} regression input(s) pass"
  else
    failed+=("$target (regressions)")
    echo "fuzz: $target FAILED on a regression input:" >&2
    tail -n 60 "$scratch/$target.regressions.log" >&2
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  keep=1
  echo "fuzz: failed: ${failed[*]}; logs and failing inputs are in $scratch" >&2
  exit 1
fi
echo "fuzz: all targets pass"
