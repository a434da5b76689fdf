#!/usr/bin/env bash
# Builds and runs every test: the default build (warnings as errors), the ASan+UBSan build,
# the TSan build, and each fuzz target for a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
# The database tests start a private MariaDB server (installed above); here one that cannot
# start is a failure, not a skipped case.
export AGENTPHONE_REQUIRE_MARIADB=1
started=$SECONDS
# A step's heading, with the time the whole run has taken so far.
step() { echo "=== $1 (at $((SECONDS - started)) s) ==="; }
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

run_preset() {
  local preset=$1; shift
  step "$preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build "build/$preset" -j "$jobs"
  step "$preset tests"
  (cd "build/$preset" && ctest --output-on-failure -j "$jobs" "$@") | tee -a "$summary"
}

run_preset default

# The library's test programs once more with every core busy with another job: tests wait on
# conditions, not on the wall clock, so a loaded machine must not make them fail.
step "library tests with every core busy"
load=()
trap 'kill "${load[@]}" 2>/dev/null || true; rm -f "$summary"' EXIT
for _ in $(seq "$jobs"); do (while :; do :; done) & load+=($!); done
for program in build/default/tests/test_vomtel_*; do
  [ -x "$program" ] || continue
  (cd build/default/tests && "./$(basename "$program")" --gtest_brief=1) >"$summary.load" 2>&1 ||
    { cat "$summary.load"; echo "$(basename "$program") failed with every core busy"; exit 1; }
  echo "$(basename "$program"): passed"
done
kill "${load[@]}" 2>/dev/null || true
wait "${load[@]}" 2>/dev/null || true
load=()
rm -f "$summary.load"

step "install check"
bash scripts/install_check.sh build/default

run_preset asan
# Qt's libraries are not instrumented: reports inside them are suppressed (tests/tsan-qt.supp).
# A browser started by the agent program runs Qt's own code between fork and exec, which the
# runtime would otherwise end at once.
# The desk's soak (label soak: a thousand calls through the program as a process) runs in the
# default and ASan+UBSan builds; the library's own soak runs here as well.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$PWD/tests/tsan-qt.supp" \
  run_preset tsan -LE soak
step "fuzz targets"
bash scripts/fuzz.sh 20

# Every configuration passed (the script stops at the first failure): one closing line.
total=$(grep -E 'tests passed, 0 tests failed out of [0-9]+' "$summary" | awk '{ n += $NF } END { print n + 0 }')
echo "tests: $total passed, 0 failed, in $((SECONDS - started)) s"
