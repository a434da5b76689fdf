#!/usr/bin/env bash
# Regenerates docs/screenshots/*.png: the agent program under Xvfb with the Korean fonts,
# logged in automatically against the CTI server simulator, in both layouts, at rest and in a
# call. Needs xvfb, imagemagick and fonts-nanum (scripts/deps.sh).
#   scripts/screenshots.sh [BUILD_DIR]     (default: build/screenshots)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$top/build/screenshots}")
out=$top/docs/screenshots
work=$(mktemp -d)
log=$work/build.log
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ "${KEEP:-0}" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

echo "building in $build (log: $build/screenshots-build.log)"
mkdir -p "$build"
if ! { cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
       nice cmake --build "$build" -j4 --target agentphone vomtelx vomcom-register ctisim; } \
     >"$build/screenshots-build.log" 2>&1; then
  tail -30 "$build/screenshots-build.log"; exit 1
fi
find_built() { find "$build" -name "$1" -type f -perm -u+x -print -quit; }
agentphone=$(find_built agentphone)
ctisim=$(find_built ctisim)
register=$(find_built vomcom-register)
module=$(find "$build" -name 'vomtelx.so' -print -quit)
[ -n "$agentphone" ] && [ -n "$ctisim" ] && [ -n "$register" ] && [ -n "$module" ] ||
  { echo "a built program is missing"; exit 1; }

export VOMTEL_REGISTRY=$work/registry.reg
"$register" "$module" >"$work/register.out" 2>&1 || { cat "$work/register.out"; exit 1; }

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

# Log-in and state requests answered as a switch does; an inbound call that stays connected.
cat >"$work/shots.flow" <<'FLOW'
on agent-state mode=login push loggedon
on agent-state mode=logout push loggedoff
on agent-state mode=notready push notready
on agent-state mode=ready push ready
on agent-state mode=aftercallwork push aftercallwork
await agent-state mode=login
wait 4000
push delivered call=5001 party=0212345678 queue=1101
wait 1000
push established call=5001 party=0212345678 cnid=90001
FLOW

# Waits until a line matching the pattern is in the file (at most 30 seconds).
await_line() {
  for _ in $(seq 300); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  echo "timed out waiting for '$2' in $1"; cat "$1"; return 1
}

shoot() {  # VIEW NAME
  local view=$1 name=$2 port dial display desk=$work/desk-$2
  port=$(free_port); dial=$(free_port)
  mkdir -p "$desk" "$work/home-$name"; chmod 700 "$work/home-$name"
  printf '%s\r\n' "[SOFTPHONE]" "LOGIN=1" "DB=1" "VIEW=$view" "ID=7001" "DN=8001" "ONTOP=0" \
    "AUTOREADY=1" "POPUP=0" "PORT=$dial" "" "[DNINFO]" "8001=김상담" "" "[AGENTPHONE]" \
    "SERVER=127.0.0.1" "SERVER_PORT=$port" "BROWSER=true %u" "DIAL_BIND=127.0.0.1" \
    >"$desk/SOFTPHONE.ini"
  "$ctisim" --address 127.0.0.1 --port "$port" --flow "$work/shots.flow" >"$work/sim-$name.out" 2>&1 &
  pids+=($!)
  for display in $(seq 90 120); do [ -e /tmp/.X11-unix/X$display ] || break; done
  Xvfb ":$display" -screen 0 1280x600x24 -nolisten tcp >"$work/xvfb-$name.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
  (cd "$work" && HOME=$work/home-$name XDG_RUNTIME_DIR=$work/home-$name DISPLAY=:$display \
     QT_QPA_PLATFORM=xcb "$agentphone" --home "$desk" >"$work/agent-$name.out" 2>&1) &
  pids+=($!)
  await_line "$work/sim-$name.out" "(201)"
  await_line "$work/sim-$name.out" "(203)\|(205)"
  sleep 2
  DISPLAY=:$display import -window root -crop "$3" "$out/$name-logged-in.png"
  await_line "$work/sim-$name.out" "(6)"
  sleep 2
  DISPLAY=:$display import -window root -crop "$3" "$out/$name-in-call.png"
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  pids=()
}

mkdir -p "$out"
shoot 0 vertical 196x442+0+0
shoot 1 horizontal 1181x107+0+0
ls -l "$out"
