#!/bin/sh
# A private MariaDB server for the database tests: its own data folder, socket and port on
# 127.0.0.1, started without reading any option file and stopped by its process id.
#
#   mariadb_server.sh start DIR PORT   prints "ready" once the server answers (exit 0), or the
#                                      server's error log (exit 1); exit 77 when mariadbd is absent
#   mariadb_server.sh stop DIR         stops the server started in DIR and waits for it to end
set -eu

cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start DIR PORT | stop DIR" >&2; exit 2; }

mariadbd=$(command -v mariadbd || echo /usr/sbin/mariadbd)
install_db=$(command -v mariadb-install-db || command -v mysql_install_db || true)
wait_seconds=${MARIADB_WAIT_SECONDS:-90}
stop_seconds=${MARIADB_STOP_SECONDS:-60}

# Ends process $1: TERM, then KILL once it has had $stop_seconds to go. A server that is still
# starting may not act on TERM yet, and one that ended as a child of this shell stays a zombie
# (which kill -0 still finds) until it is reaped, so both are looked for.
end_process() {
  pid=$1
  kill "$pid" 2>/dev/null || return 0
  j=0
  while kill -0 "$pid" 2>/dev/null; do
    case "$(ps -o stat= -p "$pid" 2>/dev/null)" in Z*) break ;; esac
    j=$((j + 1))
    if [ "$j" -gt $((stop_seconds * 10)) ]; then
      kill -KILL "$pid" 2>/dev/null || true
      break
    fi
    sleep 0.1
  done
  wait "$pid" 2>/dev/null || true
}

case "$cmd" in
start)
  port=${3:?port missing}
  [ -x "$mariadbd" ] && [ -n "$install_db" ] || { echo "mariadbd not installed" >&2; exit 77; }
  # Its own temporary folder: servers installed side by side in /tmp clash on their temporary
  # tables, and an install that clashed leaves system tables that refuse every login.
  mkdir -p "$dir/tmp"
  user_opt=""
  [ "$(id -u)" = 0 ] && user_opt="--user=root"
  if [ ! -f "$dir/installed" ]; then
    rm -rf "$dir/data"
    mkdir -p "$dir/data"
    if ! "$install_db" --no-defaults --auth-root-authentication-method=normal $user_opt \
        --datadir="$dir/data" --tmpdir="$dir/tmp" --skip-test-db >"$dir/install.log" 2>&1 ||
       grep -q "failed" "$dir/install.log"; then
      cat "$dir/install.log" >&2
      exit 1
    fi
    touch "$dir/installed"
  fi
  # In a session of its own: no signal meant for the tests' process group (a stop, a
  # continue, a hang-up) reaches it, only those sent to it by its process id.
  setsid "$mariadbd" --no-defaults $user_opt --datadir="$dir/data" --socket="$dir/mysqld.sock" \
    --pid-file="$dir/mysqld.pid" --tmpdir="$dir/tmp" --port="$port" --bind-address=127.0.0.1 \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_bin \
    --log-error="$dir/error.log" >/dev/null 2>&1 &
  echo $! >"$dir/server.pid"
  i=0
  # Ready when the socket accepts a query; bounded so a broken start ends with its log.
  while :; do
    if answer=$(mariadb --no-defaults --socket="$dir/mysqld.sock" -uroot -e "SELECT 1" 2>&1); then
      echo ready
      exit 0
    fi
    case "$answer" in
      *"Access denied"*)
        # The server runs but refuses its own root: waiting longer does not help.
        echo "$answer" >&2
        end_process "$(cat "$dir/server.pid")"
        rm -f "$dir/server.pid"
        exit 1
        ;;
    esac
    if ! kill -0 "$(cat "$dir/server.pid")" 2>/dev/null; then
      tail -n 20 "$dir/error.log" >&2 || true
      exit 1
    fi
    i=$((i + 1))
    if [ "$i" -gt $((wait_seconds * 10)) ]; then
      # Not answering in time: the server started here goes too.
      tail -n 20 "$dir/error.log" >&2 || true
      end_process "$(cat "$dir/server.pid")"
      rm -f "$dir/server.pid"
      exit 1
    fi
    sleep 0.1
  done
  ;;
stop)
  [ -f "$dir/server.pid" ] || exit 0
  end_process "$(cat "$dir/server.pid")"
  rm -f "$dir/server.pid"
  ;;
*)
  echo "usage: $0 start DIR PORT | stop DIR" >&2
  exit 2
  ;;
esac
