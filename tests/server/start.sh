#!/usr/bin/env bash
# Starts the private MariaDB server of a test run.
#
#   start.sh STATE_DIR
#
# Makes a throwaway data directory in STATE_DIR (mariadb-install-db, table
# names not case-sensitive as on the bank's servers), starts mariadbd on
# 127.0.0.1 with a free port, and writes STATE_DIR/server.info, the file the
# test programs read (KEY=value lines: host, port, user, password, socket).
# The account "orvax" (password "orvax-test") may do everything; tests make
# and drop their own databases with it. stop.sh STATE_DIR ends the server.
#
# Works as root (the server then runs as root) and as an ordinary user.
# ORVAX_DB_KEEP=1 keeps the data of an earlier start (the demo vault lives
# on between runs); stop.sh with the same variable leaves it in place.
# ORVAX_DB_PORT, when set, is the port to listen on (a server restarted by a
# test keeps the address its clients know). ORVAX_DB_SETTINGS, when set, holds more lines for the server's section of
# its configuration (one "name=value" a line); they come last and so win
# over the defaults below (the benchmark gives the server more memory).
set -euo pipefail

state=${1:?usage: start.sh STATE_DIR}
here=$(cd "$(dirname "$0")" && pwd)

# A server left behind by an interrupted run is stopped first.
"$here/stop.sh" "$state"

mkdir -p "$state"
state=$(cd "$state" && pwd)
# Temporary files of its own: another server on the machine cannot touch them.
mkdir -p "$state/tmp"
data=$state/data
rm -f "$state/server.info"
keep=
if [ -n "${ORVAX_DB_KEEP:-}" ] && [ -d "$data/mysql" ]; then
    keep=1
else
    rm -rf "$data"
fi

find_program() {
    command -v "$1" 2>/dev/null || { [ -x "/usr/sbin/$1" ] && echo "/usr/sbin/$1"; } || {
        echo "start.sh: $1 not found (Debian package mariadb-server)" >&2
        exit 1
    }
}
mariadbd=$(find_program mariadbd)
install_db=$(find_program mariadb-install-db)
admin=$(find_program mariadb-admin)

# Unix socket paths are limited to 107 bytes; a deep build tree uses /tmp.
socket=$state/mysqld.sock
if [ ${#socket} -gt 100 ]; then
    socket_dir=$(mktemp -d /tmp/orvax-db.XXXXXX)
    echo "$socket_dir" >"$state/socket.dir"
    socket=$socket_dir/mysqld.sock
fi

# Small and careless with durability: the data lives for one test run.
cat >"$state/my.cnf" <<EOF
[mariadbd]
datadir=$data
socket=$socket
tmpdir=$state/tmp
pid-file=$state/mysqld.pid
log-error=$state/mariadb.log
bind-address=127.0.0.1
lower_case_table_names=1
skip_name_resolve=ON
skip_log_bin
performance_schema=OFF
innodb_buffer_pool_size=16M
innodb_log_file_size=4M
innodb_log_buffer_size=1M
innodb_doublewrite=0
innodb_flush_log_at_trx_commit=0
innodb_use_native_aio=0
key_buffer_size=1M
max_connections=200
init-file=$state/users.sql
${ORVAX_DB_SETTINGS:-}
EOF

cat >"$state/users.sql" <<'EOF'
CREATE USER IF NOT EXISTS 'orvax'@'127.0.0.1' IDENTIFIED BY 'orvax-test';
GRANT ALL PRIVILEGES ON *.* TO 'orvax'@'127.0.0.1' WITH GRANT OPTION;
CREATE USER IF NOT EXISTS 'orvax'@'localhost' IDENTIFIED BY 'orvax-test';
GRANT ALL PRIVILEGES ON *.* TO 'orvax'@'localhost' WITH GRANT OPTION;
EOF

# mariadbd refuses to run as root unless told so.
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(--user=root)

if [ -z "$keep" ] && ! "$install_db" --defaults-file="$state/my.cnf" "${as_user[@]}" --skip-test-db \
        --auth-root-authentication-method=socket \
        >"$state/install.log" 2>&1; then
    cat "$state/install.log" >&2
    echo "start.sh: mariadb-install-db failed" >&2
    exit 1
fi

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

random_port() {
    local port
    while :; do
        port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
        port_in_use "$port" || break
    done
    echo "$port"
}

server_answers() {
    "$admin" --no-defaults --protocol=tcp -h 127.0.0.1 -P "$1" -u orvax -porvax-test \
        --connect-timeout=2 ping >/dev/null 2>&1
}

# The port is free when chosen but another program may take it before the
# server binds it; then the server exits and another port is tried.
for attempt in 1 2 3 4 5; do
    port=${ORVAX_DB_PORT:-$(random_port)}
    "$mariadbd" --defaults-file="$state/my.cnf" "${as_user[@]}" --port="$port" \
        >>"$state/mariadb.log" 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do
        if server_answers "$port"; then
            printf 'host=127.0.0.1\nport=%s\nuser=orvax\npassword=orvax-test\nsocket=%s\n' \
                "$port" "$socket" >"$state/server.info"
            echo "$pid" >"$state/server.pid"
            echo "MariaDB test server on 127.0.0.1:$port (pid $pid, data $data)"
            exit 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
done

tail -n 30 "$state/mariadb.log" >&2
echo "start.sh: the MariaDB test server did not start" >&2
exit 1
