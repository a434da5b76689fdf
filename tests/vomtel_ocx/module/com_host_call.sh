#!/bin/sh
# The example C host places a call through the main control: registered into a scratch
# registry, against the simulator program on a free port.
#   com_host_call.sh HOST REGISTER_TOOL MODULE CTISIM SCRATCH
set -eu
host=$1 register=$2 module=$3 ctisim=$4 scratch=$5
rm -rf "$scratch"
mkdir -p "$scratch"
export VOMTEL_REGISTRY="$scratch/registry.reg" VOMTEL_DRIVE_ROOT="$scratch/drives"
sim=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
"$register" "$module" >/dev/null
cd "$scratch"
"$ctisim" --address 127.0.0.1 --port 0 --exit-after 60 >"$scratch/sim.log" 2>&1 &
sim=$!
port=""
i=0
while [ -z "$port" ]; do
  # The background shell may not have made the log yet: a missing file is "not yet".
  port=$(sed -n 's/^ctisim listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$scratch/sim.log" 2>/dev/null || true)
  [ -n "$port" ] && break
  kill -0 "$sim" 2>/dev/null || { cat "$scratch/sim.log"; exit 1; }
  i=$((i + 1))
  [ "$i" -lt 600 ] || { echo "the simulator did not start"; exit 1; }
  sleep 0.1
done
out=$("$host" --call 127.0.0.1 "$port" 4001 01012345678) || { echo "$out"; exit 1; }
echo "$out"
for line in "vomtelopenserver: 1" "vomtelmakecall: 1" "vomtelcloseserverHA: 1"; do
  echo "$out" | grep -qx "$line" || { echo "missing: $line"; exit 1; }
done
grep -q "class 0x41 code 0x65" "$scratch/sim.log" ||
  { echo "the simulator saw no make-call request"; cat "$scratch/sim.log"; exit 1; }
"$register" --unregister "$module" >/dev/null
