#!/usr/bin/env bash
# Runs a build's whole test suite several times in a row with every core busy with another job:
# tests wait on conditions, not on the wall clock or on thread order, so a loaded machine must
# not make any of them fail.
#
#   bash scripts/loaded_runs.sh BUILD_DIR [RUNS] [CTEST_ARGS...]
#
# RUNS defaults to 5. A ThreadSanitizer build (VOMTEL_SANITIZE=thread in its cache) runs as
# scripts/test.sh runs it: without the desk's soak (label soak) and with Qt's reports
# suppressed, unless TSAN_OPTIONS is set already. VOMTEL_TEST_JOBS sets ctest's parallel jobs
# (default: the number of cores), VOMTEL_BUSY_LOOPS the number of busy loops (default: the number
# of cores; 0 when the load comes from elsewhere, e.g. other builds' suites run at the same
# time). Each run's output is kept in BUILD_DIR/loaded-runs/; a failed run's failing tests and
# their output are shown. One line per run, then a summary line; the
# exit status is non-zero when any run failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [RUNS] [CTEST_ARGS...]" >&2; exit 2; }
build=$(realpath "$1"); shift
runs=5
if [ $# -ge 1 ]; then runs=$1; shift; fi
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "RUNS must be a positive number, not '$runs'" >&2; exit 2; }
[ -f "$build/CTestTestfile.cmake" ] || { echo "$build holds no built tests" >&2; exit 2; }

ctest_args=(--output-on-failure -j "${VOMTEL_TEST_JOBS:-$(nproc)}" "$@")
if grep -q '^VOMTEL_SANITIZE:STRING=thread$' "$build/CMakeCache.txt" 2>/dev/null; then
  export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1 die_after_fork=0 suppressions=$root/tests/tsan-qt.supp}"
  ctest_args+=(-LE soak)
fi
# As in CI: a database server that cannot start is a failure, not a skipped case.
export AGENTPHONE_REQUIRE_MARIADB="${AGENTPHONE_REQUIRE_MARIADB:-1}"

logs="$build/loaded-runs"
mkdir -p "$logs"

load=()
stop_load() {
  [ ${#load[@]} -gt 0 ] || return 0
  kill "${load[@]}" 2>/dev/null || true
  wait "${load[@]}" 2>/dev/null || true
  load=()
}
trap stop_load EXIT
trap 'exit 130' INT TERM
cores=${VOMTEL_BUSY_LOOPS:-$(nproc)}
[[ "$cores" =~ ^[0-9]+$ ]] || { echo "VOMTEL_BUSY_LOOPS must be a number, not '$cores'" >&2; exit 2; }
for _ in $(seq "$cores"); do (while :; do :; done) & load+=($!); done
echo "$cores busy loops started; $runs runs of ctest ${ctest_args[*]} in $build"

failed_runs=0
times=()
for run in $(seq "$runs"); do
  log="$logs/run-$run.log"
  start=$(date +%s)
  rc=0
  (cd "$build" && ctest "${ctest_args[@]}") >"$log" 2>&1 || rc=$?
  secs=$(($(date +%s) - start))
  times+=("$secs")
  tally=$(grep -Eo '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1 || true)
  if [ "$rc" -eq 0 ]; then
    echo "run $run/$runs: passed in ${secs} s (${tally:-no tally})"
  else
    failed_runs=$((failed_runs + 1))
    echo "run $run/$runs: FAILED in ${secs} s (${tally:-ctest exit $rc}; log $log)"
    sed -n '/The following tests FAILED:/,$p' "$log" | sed 's/^/    /'
  fi
done
stop_load

total=0 min=${times[0]} max=${times[0]}
for t in "${times[@]}"; do
  total=$((total + t))
  [ "$t" -lt "$min" ] && min=$t
  [ "$t" -gt "$max" ] && max=$t
done
echo "summary: $((runs - failed_runs)) of $runs runs passed, $failed_runs failed with $cores busy loops;" \
     "time per run min $min s, mean $((total / runs)) s, max $max s ($build)"
[ "$failed_runs" -eq 0 ]
