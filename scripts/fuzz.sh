#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 20) over its corpus in fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake --preset fuzz >/dev/null
shopt -s nullglob
targets=()
for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]}"
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "=== $name for ${seconds}s ==="
  log="$work.log"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$work.crash-" "$work" >"$log" 2>&1; then
    cat "$log"
    echo "$name found a failing input"
    exit 1
  fi
  grep -E '^Done|stat::number_of_executed_units' "$log" || tail -n 3 "$log"
  rm -rf "$work" "$log"
done
