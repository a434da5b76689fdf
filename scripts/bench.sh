#!/usr/bin/env bash
# Builds the optimised "bench" preset and runs every benchmark against the CTI server
# simulator on loopback, then prints the figures, each beside its reference measured in the
# same run. Arguments go to the benchmark program (e.g. --benchmark_filter=RoundTrip).
# BENCH_JOBS sets the build's parallel jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=${BENCH_JOBS:-$(nproc)}

echo "=== bench build ==="
cmake --preset bench >/dev/null
cmake --build build/bench -j "$jobs" --target vomtel_bench

echo "=== machine ==="
echo "nproc: $(nproc)"
lscpu | grep 'Model name' || true
echo "kernel: $(uname -r)"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "=== benchmarks ==="
# Every benchmark bounds its own count and time; the whole run takes about a minute.
timeout 600 build/bench/bench/vomtel_bench "$@"
