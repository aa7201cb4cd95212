#!/usr/bin/env bash
# Runs every fuzz target (clang, libFuzzer, ASan + UBSan) for a bounded time
# over a scratch copy of its committed seed corpus, so the committed corpus
# stays as it is. Prints FIGURE lines; fails when a target found a crash or a
# broken invariant (the input is kept under build/fuzz/artifacts/).
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" >/dev/null

work=$(mktemp -d /tmp/zefta-fuzz-XXXXXX)
trap 'rm -rf "$work"' EXIT
artifacts=$PWD/build/fuzz/artifacts
mkdir -p "$artifacts"

status=0
for corpus in tests/fuzz/corpus/*/; do
  target=$(basename "$corpus")
  scratch=$work/$target
  mkdir -p "$scratch"
  cp "$corpus"* "$scratch"/
  seeds=$(find "$scratch" -type f | wc -l)
  log=$work/$target.log
  crashes=0
  if ! (cd "$work" && "$OLDPWD/build/fuzz/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
          -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$scratch") \
        >"$log" 2>&1; then
    crashes=1
    status=1
    echo "fuzz_$target failed:" >&2
    tail -n 40 "$log" >&2
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  [ -n "$runs" ] || runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
  echo "FIGURE|fuzz: $target|seconds|$seconds"
  echo "FIGURE|fuzz: $target|runs executed|${runs:-0}"
  echo "FIGURE|fuzz: $target|crashes|$crashes"
  echo "FIGURE|fuzz: $target|seed inputs|$seeds"
  echo "FIGURE|fuzz: $target|corpus size|$(find "$scratch" -type f | wc -l)"
done
exit $status
