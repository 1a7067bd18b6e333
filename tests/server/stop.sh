#!/usr/bin/env bash
# Stops the private MariaDB server that start.sh started in STATE_DIR and
# removes its data (kept when ORVAX_DB_KEEP is set); the server's log stays
# in STATE_DIR/mariadb.log.
#
#   stop.sh STATE_DIR
#
# Does nothing when no server of that directory runs. Only the process
# recorded by start.sh is signalled, and only while it still is a mariadbd
# of that directory.
set -uo pipefail

state=${1:?usage: stop.sh STATE_DIR}
[ -d "$state" ] || exit 0
state=$(cd "$state" && pwd)

ours() {
    local pid=$1
    [ -r "/proc/$pid/cmdline" ] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "--defaults-file=$state/my.cnf"
}

if [ -f "$state/server.pid" ]; then
    pid=$(cat "$state/server.pid")
    if [[ $pid =~ ^[0-9]+$ ]] && ours "$pid"; then
        kill -TERM "$pid" 2>/dev/null
        for _ in $(seq 1 300); do
            ours "$pid" || break
            sleep 0.1
        done
        if ours "$pid"; then
            echo "stop.sh: the server did not stop in 30 s; killing it" >&2
            kill -KILL "$pid" 2>/dev/null
        fi
    fi
fi

[ -n "${ORVAX_DB_KEEP:-}" ] || rm -rf "$state/data"
rm -rf "$state/server.info" "$state/server.pid" "$state/mysqld.sock"
if [ -f "$state/socket.dir" ]; then
    rm -rf "$(cat "$state/socket.dir")"
    rm -f "$state/socket.dir"
fi
exit 0
