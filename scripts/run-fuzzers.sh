#!/usr/bin/env bash
# Runs each libFuzzer target on its corpus for SECONDS (default 600), one after another in a
# single process each. New interesting inputs go to a scratch folder, never into the committed
# corpus; an input that crashes, leaks, hangs or runs out of memory is copied into the target's
# corpus folder, where the replay tests pick it up. Prints one line per target and exits non-zero
# when any target found something.
#   scripts/run-fuzzers.sh [SECONDS]
# Environment: FUZZ_BUILD (default build-fuzz), FUZZ_SCRATCH (default $FUZZ_BUILD/fuzz-scratch),
# FUZZ_TARGETS (default "data_file_reader picture_decoder wave_loader").
set -euo pipefail

seconds="${1:-600}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD:-$root/build-fuzz}"
scratch="${FUZZ_SCRATCH:-$build/fuzz-scratch}"
read -r -a targets <<<"${FUZZ_TARGETS:-data_file_reader picture_decoder wave_loader}"

count_files() { find "$1" -maxdepth 1 -type f | wc -l; }

found=0
for target in "${targets[@]}"; do
  binary="$build/${target}_fuzzer"
  corpus="$root/fuzz/corpus/$target"
  if [ ! -x "$binary" ]; then
    echo "$target: no $binary (build it with: make fuzz)" >&2
    found=1
    continue
  fi
  mkdir -p "$corpus" "$scratch/$target/inputs" "$scratch/$target/artifacts"
  inputs="$scratch/$target/inputs"
  artifacts="$scratch/$target/artifacts"
  log="$scratch/$target/last-run.log"
  before="$(count_files "$inputs")"
  rm -f "$artifacts"/*

  # The first folder receives new inputs; the committed corpus is only read.
  status=0
  "$binary" "$inputs" "$corpus" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1 || status=$?

  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  after="$(count_files "$inputs")"
  summary="$target: ${seconds} s limit, ${runs:-?} executions, $((after - before)) new inputs"
  summary+=" (scratch $inputs)"
  copied=()
  for artifact in "$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* \
    "$artifacts"/oom-*; do
    [ -f "$artifact" ] || continue
    cp "$artifact" "$corpus/"
    copied+=("fuzz/corpus/$target/$(basename "$artifact")")
  done
  if [ ${#copied[@]} -gt 0 ]; then
    found=1
    echo "$summary; FINDING ${copied[*]} (log $log)"
  elif [ "$status" -ne 0 ]; then
    found=1
    echo "$summary; stopped with status $status and no input (log $log)"
  else
    echo "$summary; no finding"
  fi
done
exit "$found"
