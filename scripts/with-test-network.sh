#!/usr/bin/env bash
# Runs a command inside a private network namespace that holds a throwaway
# PostgreSQL cluster with the POS database, reachable over ODBC as "SQL Server".
# Usage: with-test-network.sh <command> [args...]
set -euo pipefail

SCRIPTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly SCRIPTS_DIR
readonly REPO_ROOT=${SCRIPTS_DIR%/*}
readonly DB_NAME=젤노포스식음
# The terminal's own address inside the test network.
KPS_TEST_TERMINAL_IP=10.77.0.5

WORK_DIR=
COMMAND_PID=

die() {
    echo "with-test-network: $*" >&2
    exit 2
}

# Re-executes this script in a new network namespace. Without a user
# namespace root keeps its capabilities, which the tests need to watch ICMP
# with a raw socket.
# The marker holds the machine's namespace, so a stray marker cannot make the
# rig run on the real network.
enter_namespace() {
    if [[ -z ${KPS_TEST_NETNS:-} ]]; then
        KPS_TEST_NETNS=$(readlink /proc/self/ns/net)
        export KPS_TEST_NETNS
        exec unshare -n -- "$SCRIPTS_DIR/with-test-network.sh" "$@"
    fi
    [[ $(readlink /proc/self/ns/net) != "$KPS_TEST_NETNS" ]] ||
        die "still in the machine's own network namespace"
}

# The driver turns SERVER=127.0.0.1,1433 into two libpq hosts, the second
# being 0.0.5.153; that one must fail at once while the database is down.
# A veth pair gives the terminal an address of its own besides loopback.
# Every group may open ping sockets, so the program's reachability check is
# its ICMP echo; the tests of the check without them narrow this themselves.
setup_network() {
    echo "0 2147483647" >/proc/sys/net/ipv4/ping_group_range
    ip link set lo up
    ip route add unreachable 0.0.0.0/8
    ip link add kps0 type veth peer name kps1
    ip addr add "$KPS_TEST_TERMINAL_IP/24" dev kps0
    ip link set kps1 up
    ip link set kps0 up
}

newest_pg_bindir() {
    local dir
    dir=$(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
    [[ -x $dir/pg_ctl ]] || die "no PostgreSQL server found under /usr/lib/postgresql"
    echo "$dir"
}

psqlodbc_unicode_driver() {
    local driver
    driver=$(dpkg -L odbc-postgresql | grep '/psqlodbcw\.so$') ||
        die "psqlODBC's Unicode driver is not installed (odbc-postgresql)"
    echo "$driver"
}

# FreeTDS, the "SQL Server" driver of a real store, for the tests that speak TDS; empty when
# tdsodbc is not installed.
freetds_driver() {
    dpkg -L tdsodbc 2>/dev/null | grep '/libtdsodbc\.so$' || true
}

# The cluster lives in a fresh folder owned by postgres, which the server
# user must be able to reach.
make_work_dir() {
    WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kps-test.XXXXXX")
    chmod a+x "${WORK_DIR%/*}"
    chmod 755 "$WORK_DIR"
    chown postgres: "$WORK_DIR"
}

# The program logs in with a password over TCP; setup uses the trusted socket.
init_cluster() {
    (cd / && runuser -u postgres -- "$KPS_TEST_PGBIN/initdb" -D "$KPS_TEST_PGDATA" \
        --encoding=UTF8 --locale=C.UTF-8 --username=postgres \
        --auth-local=trust --auth-host=scram-sha-256 >/dev/null)

    cat >>"$KPS_TEST_PGDATA/postgresql.conf" <<EOF

# Throwaway test cluster: loopback only, socket kept in the work folder.
listen_addresses = '127.0.0.1'
port = 5432
unix_socket_directories = '$WORK_DIR'
log_connections = on
# Nothing here has to survive a crash.
fsync = off
synchronous_commit = off
full_page_writes = off
EOF
}

admin_psql() {
    PGCLIENTENCODING=UTF8 "$KPS_TEST_PGBIN/psql" -X -q -h "$WORK_DIR" -p 5432 \
        -v ON_ERROR_STOP=1 "$@"
}

create_database() {
    admin_psql -U postgres -d postgres \
        -c "CREATE ROLE sa LOGIN PASSWORD 'vextrolam'" \
        -c "CREATE DATABASE \"$DB_NAME\" ENCODING 'UTF8' OWNER sa"
    admin_psql -U sa -d "$DB_NAME" -f "$REPO_ROOT/tests/support/schema.sql"
}

# Registers psqlODBC under the driver name the program asks for.
write_odbc_config() {
    cat >"$WORK_DIR/odbcinst.ini" <<EOF
[SQL Server]
Description=PostgreSQL Unicode driver for the test database
Driver=$(psqlodbc_unicode_driver)
EOF
    : >"$WORK_DIR/odbc.ini"
    export ODBCSYSINI=$WORK_DIR
}

# Passes a signal on to the command, so the cluster is only removed once
# nothing uses it any more.
# shellcheck disable=SC2317 # runs from a trap
forward_signal() {
    local signal=$1 code=$2
    if [[ -n $COMMAND_PID ]]; then
        kill -s "$signal" "$COMMAND_PID" 2>/dev/null || true
        wait "$COMMAND_PID" || true
    fi
    exit "$code"
}

# shellcheck disable=SC2317 # runs from a trap
cleanup() {
    if [[ -n $WORK_DIR ]]; then
        if [[ -f $WORK_DIR/data/postmaster.pid ]]; then
            "$SCRIPTS_DIR/test-db.sh" stop >/dev/null || true
        fi
        rm -rf "$WORK_DIR"
    fi
}

main() {
    (($# >= 1)) || die "usage: with-test-network.sh <command> [args...]"
    enter_namespace "$@"
    setup_network

    trap cleanup EXIT
    trap 'forward_signal INT 130' INT
    trap 'forward_signal TERM 143' TERM
    make_work_dir

    KPS_TEST_PGBIN=$(newest_pg_bindir)
    export KPS_TEST_RIG=1 KPS_TEST_TERMINAL_IP KPS_TEST_PGBIN PGPORT=5432
    export KPS_TEST_PGDATA=$WORK_DIR/data KPS_TEST_PGLOG=$WORK_DIR/postgres.log
    KPS_TEST_FREETDS_DRIVER=$(freetds_driver)
    export KPS_TEST_FREETDS_DRIVER

    init_cluster
    "$SCRIPTS_DIR/test-db.sh" start >/dev/null
    create_database
    write_odbc_config

    # In the background so that signals reach the traps while it runs; the
    # explicit redirection keeps its standard input.
    "$@" <&0 &
    COMMAND_PID=$!
    local status=0
    wait "$COMMAND_PID" || status=$?
    exit "$status"
}

main "$@"
