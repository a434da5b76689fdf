#!/usr/bin/env bash
# The main job: builds the library, starts the CTI server simulator on 127.0.0.1 and runs the
# demo program against it through the public C interface (open a gate, monitor, log in, make a
# call, print the call's events, close).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build build/default -j "$(nproc)" --target ctisim vomtel_demo

port=${VOMTEL_DEMO_PORT:-7000}
build/default/tools/ctisim/ctisim --address 127.0.0.1 --port "$port" --exit-after 60 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
# Wait until the simulator listens.
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
build/default/examples/vomtel_demo 127.0.0.1 "$port"
