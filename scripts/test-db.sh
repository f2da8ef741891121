#!/usr/bin/env bash
# Controls the throwaway PostgreSQL cluster set up by with-test-network.sh.
#   test-db.sh stop              fast shutdown, waits until the server is gone
#   test-db.sh start             starts unless running, waits until it accepts connections
#   test-db.sh restart           stops as a crash would (immediate), starts again and waits
#   test-db.sh psql [args...]    psql as sa on the test database over TCP
set -euo pipefail

readonly DB_NAME=젤노포스식음
readonly DB_USER=sa
readonly DB_PASSWORD=vextrolam

die() {
    echo "test-db: $*" >&2
    exit 2
}

# PostgreSQL refuses to run as root; cd / keeps pg_ctl away from folders the
# postgres user cannot read.
pg_ctl_as_postgres() {
    cd /
    runuser -u postgres -- "$KPS_TEST_PGBIN/pg_ctl" -D "$KPS_TEST_PGDATA" -w "$@"
}

run_psql() {
    PGPASSWORD=$DB_PASSWORD PGCLIENTENCODING=UTF8 exec "$KPS_TEST_PGBIN/psql" \
        -X -h 127.0.0.1 -p 5432 -U "$DB_USER" -d "$DB_NAME" -v ON_ERROR_STOP=1 "$@"
}

main() {
    # Only the private test network may be touched, never a real database.
    [[ ${KPS_TEST_RIG:-} == 1 ]] || die "refusing to run outside scripts/with-test-network.sh"
    (($# >= 1)) || die "usage: test-db.sh stop|start|restart|psql [psql args...]"

    local action=$1
    shift
    case $action in
        stop) pg_ctl_as_postgres -m fast stop ;;
        start) pg_ctl_as_postgres status >/dev/null || pg_ctl_as_postgres -l "$KPS_TEST_PGLOG" start ;;
        restart) pg_ctl_as_postgres -m immediate -l "$KPS_TEST_PGLOG" restart ;;
        psql) run_psql "$@" ;;
        *) die "unknown action: $action" ;;
    esac
}

main "$@"
