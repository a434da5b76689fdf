#!/usr/bin/env bash
# The main job: the agent's desk working against a simulated CTI server.
#
# Installs what is missing, builds (quietly, log kept), registers the control module into a
# scratch registry, starts the CTI server simulator playing a switch with the demo flow
# (tools/ctisim/flows/demo.flow), a local web server standing in for the customer and
# recording servers, and the softphone with automatic login on a desk folder of its own with
# the embedded database. Three inbound calls come in a few seconds apart; then a dial request
# from this script places an outbound call through the softphone's dial-request port: answered,
# it calls the customer's outbound page and, three seconds on, sends the recording link. On a
# desktop the window appears; without DISPLAY it runs on a virtual display and a screenshot of
# each state is written. Everything stops by itself after the flow.
#
#   VOMTEL_RUN_BUILD=DIR     build folder (default build/run)
#   VOMTEL_RUN_NO_BUILD=1    use the programs already built in the build folder
#   VOMTEL_RUN_HEADLESS=1    the virtual display even on a desktop
#   VOMTEL_RUN_JOBS=N        parallel build jobs (default: the number of cores)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${VOMTEL_RUN_BUILD:-$root/build/run}")
out="$build/desk-demo"
rm -rf "$out"
mkdir -p "$out"/{desk,work,drives,home,screens}

step=0
say() { printf '%s\n' "$*"; }
step() { step=$((step + 1)); say ""; say "[$step] $*"; }
fail() { say "FAILED: $*"; exit 1; }
# Shows the end of a log that explains a failure.
show_log() { say "---- last lines of $1"; tail -n "${2:-40}" "$1" | sed 's/^/  | /'; say "----"; }

pids=()
cleanup() {
  local p
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    p=${pids[$i]}
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
}
trap cleanup EXIT

# Reads PORT from the first line of FILE that matches "listening on ADDR:PORT", waiting for the
# program PID to print it (or to end).
listening_port() {
  local file=$1 pid=$2 line
  for _ in $(seq 300); do
    line=$(grep -m1 -o 'listening on [0-9.]*:[0-9]*' "$file" 2>/dev/null || true)
    if [ -n "$line" ]; then printf '%s\n' "${line##*:}"; return 0; fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
accepts() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

# --- Prerequisites and build ----------------------------------------------------------------
if [ "${VOMTEL_RUN_NO_BUILD:-0}" != 1 ]; then
  step "Prerequisites (scripts/deps.sh)"
  bash "$root/scripts/deps.sh" >"$out/deps.log" 2>&1 || { show_log "$out/deps.log"; fail "installing the prerequisites"; }
  say "  all installed"

  step "Build into $build (log: $build/build.log; a first build takes several minutes)"
  {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
      cmake --build "$build" -j "${VOMTEL_RUN_JOBS:-$(nproc)}" --target ctisim websim vomtelx vomcom-register agentphone vomtel_demo
  } >"$build/build.log" 2>&1 || { show_log "$build/build.log" 60; fail "the build"; }
  say "  built: agentphone, the control module vomtelx.so, libvomtel.so, ctisim, websim"
fi
ctisim="$build/tools/ctisim/ctisim"
websim="$build/tools/websim/websim"
agentphone="$build/agentphone/app/agentphone"
module="$build/vomtel_ocx/vomtelx.so"
register="$build/platform/com/vomcom-register"
for p in "$ctisim" "$websim" "$agentphone" "$module" "$register"; do
  [ -e "$p" ] || fail "$p is missing (build first, without VOMTEL_RUN_NO_BUILD)"
done

# --- The library's C demo, against a simulator of its own ----------------------------------
demo="$build/examples/vomtel_demo/vomtel_demo"
[ -x "$demo" ] || demo="$build/examples/vomtel_demo"
if [ -x "$demo" ] && [ ! -d "$demo" ]; then
  step "The client library alone: the C demo (log: $out/c-demo.log)"
  "$ctisim" --address 127.0.0.1 --port 0 --exit-after 60 >"$out/c-demo-ctisim.log" 2>&1 &
  csim=$!
  pids+=("$csim")
  cport=$(listening_port "$out/c-demo-ctisim.log" "$csim") || { show_log "$out/c-demo-ctisim.log"; fail "the C demo's simulator did not listen"; }
  if "$demo" 127.0.0.1 "$cport" >"$out/c-demo.log" 2>&1; then
    # Results and event kinds by name (any other result is the server's own word).
    awk '
      BEGIN {
        r[1] = "ok"; r[2] = "no room to send"; r[3002] = "reply does not match"
        r[3007] = "no session"; r[3013] = "time-out"; r[3014] = "not connected"
        e[3] = "cleared"; e[4] = "delivered (ringing)"; e[6] = "established (answered)"
        e[8] = "held"; e[10] = "originated (dialling)"; e[12] = "retrieved"
      }
      $1 == "event" { print "  " $0 "   <- " ($2 in e ? e[$2] : "event kind " $2); next }
      $1 == "gate" { print "  " $0 "   <- the gate handle"; next }
      $NF ~ /^[0-9]+$/ { print "  " $0 "   <- " ($NF in r ? r[$NF] : "server result " $NF); next }
      { print "  " $0 }
    ' "$out/c-demo.log" | head -n 30
    c_demo=ok
  else
    show_log "$out/c-demo.log"
    c_demo=failed
  fi
  kill "$csim" 2>/dev/null || true
fi

# --- Control module ------------------------------------------------------------------------
step "Register the control module into a scratch registry"
export VOMTEL_REGISTRY="$out/registry.reg"
"$register" "$module" >"$out/register.log" 2>&1 || { show_log "$out/register.log"; fail "registering $module"; }
say "  $module -> $VOMTEL_REGISTRY"

# --- CTI server simulator ------------------------------------------------------------------
step "CTI server simulator with the demo flow (trace: $out/ctisim.log)"
flow="$root/tools/ctisim/flows/demo.flow"
"$ctisim" --address 127.0.0.1 --port 0 --flow "$flow" --exit-after 150 >"$out/ctisim.log" 2>&1 &
sim=$!
pids+=("$sim")
sim_port=$(listening_port "$out/ctisim.log" "$sim") || { show_log "$out/ctisim.log"; fail "the simulator did not start"; }
kill -0 "$sim" 2>/dev/null && accepts "$sim_port" || fail "the simulator is not listening on 127.0.0.1:$sim_port"
say "  active server listening on 127.0.0.1:$sim_port (port chosen now), flow $flow"

# --- Web server stand-in -------------------------------------------------------------------
step "Customer and recording web server stand-in (requests: $out/websim.log)"
"$websim" --address 127.0.0.1 --port 0 >"$out/websim.log" 2>&1 &
web=$!
pids+=("$web")
web_port=$(listening_port "$out/websim.log" "$web") || { show_log "$out/websim.log"; fail "the web server did not start"; }
say "  listening on 127.0.0.1:$web_port: customer pages under /crm, recording under /rec"

# --- The desk ------------------------------------------------------------------------------
step "Desk folder $out/desk: agent A100 at extension 4001, automatic login, embedded database"
dial_port=$(free_port)
{
  printf '[SOFTPHONE]\r\nLOGIN=1\r\nDB=1\r\nVIEW=0\r\nID=A100\r\nDN=4001\r\nONTOP=0\r\n'
  printf 'AUTOREADY=1\r\nPOPUP=0\r\nREC=http://127.0.0.1:%s/rec/\r\nPORT=%s\r\n\r\n' "$web_port" "$dial_port"
  printf '[CTIINFO]\r\nIP=127.0.0.1\r\nIP2=127.0.0.1\r\nPORT=%s\r\n\r\n[DNINFO]\r\n\r\n' "$sim_port"
  printf '[AGENTPHONE]\r\nSERVER=127.0.0.1\r\nSERVER_PORT=%s\r\n' "$sim_port"
  printf 'CUSTOMER_WEB=http://127.0.0.1:%s/crm\r\nRECORDING_WEB=http://127.0.0.1:%s/rec\r\n' "$web_port" "$web_port"
  printf 'CALLBACK_DB=\r\nSTATS_DB=\r\nDIAL_BIND=127.0.0.1\r\n'
  printf 'BROWSER=%s %%u\r\n' "$out/desk/browser.sh"
} >"$out/desk/SOFTPHONE.ini"
# The screen pop's "browser" fetches the page from the stand-in, so it shows among its requests.
cat >"$out/desk/browser.sh" <<'EOF'
#!/bin/sh
exec curl -s -g -o /dev/null "$(printf '%s' "$1" | sed 's/ /%20/g')"
EOF
chmod +x "$out/desk/browser.sh"
say "  SOFTPHONE.ini: server 127.0.0.1:$sim_port, dial-request port $dial_port"

headless=0
if [ -z "${DISPLAY:-}" ] || [ "${VOMTEL_RUN_HEADLESS:-0}" = 1 ]; then
  headless=1
  step "Virtual display (no DISPLAY here): screenshots go to $out/screens"
  command -v import >/dev/null || fail "import (imagemagick) is missing: run bash scripts/deps.sh"
  : >"$out/display"
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$out/display" >"$out/xvfb.log" 2>&1 &
  pids+=("$!")
  for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
  [ -s "$out/display" ] || { show_log "$out/xvfb.log"; fail "Xvfb did not start"; }
  export DISPLAY=":$(tr -dc 0-9 <"$out/display")"
  say "  display $DISPLAY"
fi
shots=0
shot_pids=()
shot() {  # NAME [MS]: a picture of the screen in the headless run, once the window has caught
          # up with an event sent now or MS milliseconds from now
  [ "$headless" = 1 ] || return 0
  shots=$((shots + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$out/screens" "$shots" "$1")
  (
    sleep "$(((${2:-0} + 700) / 1000)).$(((${2:-0} + 700) % 1000 / 100))"  # its timer fetches them
    import -window root -trim +repage "$file" 2>>"$out/screens.log" && say "           screenshot $file"
  ) &
  shot_pids+=("$!")
}

step "Agent softphone (its log: $out/desk/SoftPhoneLOG/)"
(
  cd "$out/work"
  export VOMTEL_DRIVE_ROOT="$out/drives" QT_QPA_PLATFORM=xcb
  exec "$agentphone" --home "$out/desk"
) >"$out/agentphone.out" 2>&1 &
phone=$!
pids+=("$phone")
say "  started (pid $phone). The demo runs by itself for about a minute and then stops everything"
say "  it started; Ctrl-C stops it earlier. The switch's events as they come:"

# --- Following the switch ------------------------------------------------------------------
declare -A event_text=(
  [evtLoggedOn]="agent logged on" [evtLoggedOff]="agent logged off"
  [evtNotReady]="agent not ready" [evtReady]="agent ready (waiting for calls)"
  [evtOtherWork]="agent on other work" [evtAfterCallWork]="agent in after-call work"
  [evtDelivered]="call ringing" [evtEstablished]="call connected"
  [evtConnectionCleared]="call ended" [evtOriginated]="outbound call dialling"
)
# A picture per state the window shows (a cleared call goes straight to ready here).
declare -A event_shot=(
  [evtNotReady]=logged-in-not-ready [evtReady]=ready [evtDelivered]=ringing
  [evtEstablished]=talking [evtOriginated]=dialling [evtAfterCallWork]=after-call-work
)
declare -A counts=()
dial_request() {  # the peer program on the dial-request port: one request, its reply
  python3 - "$dial_port" <<'EOF'
import socket, sys
s = socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=10)
s.sendall(b"F0|SP-210|F2|F3|F4|02-3123-4567|F6|CUST7|F8")
reply = b""
while reply.count(b"|") < 8:
    chunk = s.recv(1024)
    if not chunk:
        break
    reply += chunk
print(reply.decode("utf-8", "replace"))
EOF
}
declare -A dial_meaning=(
  [00]="the call was placed" [01]="number too short" [02]="agent logged out"
  [03]="agent in a call" [04]="the server refused the dial"
)

finished=0
while IFS= read -r line; do
  case "$line" in
    *"flow finished"*)
      finished=1
      break
      ;;
    *"waiting for a"*make-call*)
      say "  script  | agent is free again: a dial request to the softphone's port $dial_port"
      (
        sleep 1  # the return to ready reaches the window
        reply=$(dial_request 2>>"$out/dial.log" || true)
        printf '%s' "$reply" >"$out/dial-reply.txt"
        code=$(printf '%s' "$reply" | cut -d'|' -f3)
        say "  script  | dial reply $reply -> $code: ${dial_meaning[$code]:-unknown code}"
      ) &
      shot_pids+=("$!")
      ;;
    flow\ line*evt*)
      evt=$(printf '%s' "$line" | grep -o 'evt[A-Za-z]*' | head -n1)
      code=$(printf '%s' "$line" | grep -o '([0-9]*)' | head -n1 | tr -d '()')
      call=$(printf '%s' "$line" | grep -o 'call [0-9][0-9]*' | head -n1 || true)
      counts[$evt]=$((${counts[$evt]:-0} + 1))
      case "$line" in *"on make-call"*) side="outbound: " ;; *) side="" ;; esac
      later=$(printf '%s' "$line" | grep -o ' in [0-9]* ms' | tr -dc 0-9 || true)
      say "  switch  | $side${event_text[$evt]:-$evt} ($evt = $code${call:+, $call})${later:+ in $later ms}"
      [ -z "${event_shot[$evt]:-}" ] || shot "${event_shot[$evt]}" "${later:-0}"
      ;;
  esac
  kill -0 "$phone" 2>/dev/null || break
done < <(tail -n +1 -F --pid="$sim" "$out/ctisim.log" 2>/dev/null)

sleep 1
phone_alive=0
kill -0 "$phone" 2>/dev/null && phone_alive=1
[ "$finished" = 1 ] && shot end
for p in "${shot_pids[@]}"; do wait "$p" 2>/dev/null || true; done

# --- What happened -------------------------------------------------------------------------
step "Results"
say "  web server requests (screen pops, recording notifications, outbound page), each with what it is:"
# What each request is, by its page.
web_kind() {
  case "$1" in
    */cust/frmPhone.do*) printf 'inbound screen pop' ;;
    */cust/frmUrlSave.do*) printf 'outbound page' ;;
    */tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax*) printf 'customer-field update' ;;
    *CustIdLinkage.jsp*) printf 'recording link' ;;
    *) printf 'other' ;;
  esac
}
declare -A web_counts=()
while IFS= read -r request; do
  kind=$(web_kind "$request")
  web_counts[$kind]=$((${web_counts[$kind]:-0} + 1))
  printf '    %-21s  %s\n' "$kind" "$request"
done < <(grep '^websim: [A-Z]' "$out/websim.log" | sed 's/^websim: //')
[ ${#web_counts[@]} -gt 0 ] || say "    none"
db="$out/desk/softphone.db"
if [ -f "$db" ]; then
  rows=$(python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from Data_CallBack").fetchone()[0])' "$db" 2>/dev/null || echo "?")
  say "  embedded database $db: $rows call-back rows"
fi
say "  simulator trace: $out/ctisim.log; softphone output: $out/agentphone.out"
[ "$headless" = 1 ] && say "  screenshots: $out/screens ($shots pictures)"

inbound=${counts[evtEstablished]:-0}
dial_reply=$(cat "$out/dial-reply.txt" 2>/dev/null || true)
dial_code=$(printf '%s' "$dial_reply" | cut -d'|' -f3)
problems=()
[ "$phone_alive" = 1 ] || { problems+=("the softphone ended early"); show_log "$out/agentphone.out"; }
[ "$finished" = 1 ] || problems+=("the flow did not finish")
[ "${counts[evtLoggedOn]:-0}" -ge 1 ] || problems+=("no login")
[ "$dial_code" = 00 ] || problems+=("the dial request was answered '${dial_code:-nothing}'")
[ "${web_counts[outbound page]:-0}" -ge 1 ] || problems+=("the outbound call requested no outbound page")
[ "${web_counts[recording link]:-0}" -ge 1 ] || problems+=("the outbound call sent no recording link")
[ "${c_demo:-ok}" = ok ] || problems+=("the C demo failed")
if [ ${#problems[@]} -gt 0 ]; then
  listed=$(printf '%s; ' "${problems[@]}")
  say "FAILED: ${listed%; } (logs in $out)"
  exit 1
fi
say "OK: the softphone logged in automatically, took $((inbound - 1)) inbound calls (rung, connected, ended)" \
    "and placed 1 outbound call from a dial request (reply 00), whose outbound page and recording link went to the web server${c_demo:+; the C demo ran}$([ "$headless" = 1 ] && printf '; screenshots in %s' "$out/screens")"
