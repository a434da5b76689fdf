#!/usr/bin/env bash
# Builds and runs every test: the default build (warnings as errors), the ASan+UBSan build,
# the TSan build of the threaded tests, and each fuzz target for a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

run_preset() {
  local preset=$1; shift
  echo "=== $preset build ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" 2>/dev/null || cmake --build "build/$preset" -j "$jobs"
  echo "=== $preset tests ==="
  (cd "build/$preset" && ctest --output-on-failure -j "$jobs" "$@")
}

run_preset default
run_preset asan
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_preset tsan
bash scripts/fuzz.sh 20
