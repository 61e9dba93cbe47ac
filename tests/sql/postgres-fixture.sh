#!/usr/bin/env bash
# A throwaway PostgreSQL cluster holding the sample billing database, for the
# tests of the SQL data-source link.
#
#   postgres-fixture.sh start DIR   start it; DIR receives odbc.ini
#   postgres-fixture.sh stop DIR    stop it and remove everything (idempotent)
#
# The cluster lives in a short folder under /tmp (a unix socket path must stay
# below about 107 characters) owned by the postgres user, because the server
# refuses to run as root. DIR (usually in the build tree) keeps:
#   odbc.ini      data source "WexalBilling" (point ODBCINI at it)
#   cluster       the path of the cluster folder
#   unavailable   instead of the two above when PostgreSQL cannot be started
#                 here: why (the database tests then skip)
# `start` exits 0 in that case too, so that the tests report the skip.
set -Eeuo pipefail

readonly DSN_NAME=WexalBilling
readonly DB_NAME=billing
readonly DB_USER=reader
readonly DB_PASSWORD=meters
SQL_SCRIPT="$(cd "$(dirname "$0")/../.." && pwd)/examples/sql/billing-postgres.sql"
readonly SQL_SCRIPT

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

[[ $# -eq 2 ]] || usage
action=$1
state=$2

# Runs a PostgreSQL program as the postgres user from inside the cluster
# folder (root's home is not readable to it).
as_postgres() {
    (cd "$cluster" && runuser -u postgres -- "$@" </dev/null)
}

# The folder of the server programs, or nothing.
find_bindir() {
    local dir
    for dir in /usr/lib/postgresql/*/bin; do
        if [[ -x $dir/pg_ctl && -x $dir/initdb ]]; then
            echo "$dir"
            return
        fi
    done
    if command -v pg_ctl >/dev/null && command -v initdb >/dev/null; then
        dirname "$(command -v pg_ctl)"
    fi
}

unavailable() {
    echo "$*" >"$state/unavailable"
    echo "PostgreSQL fixture unavailable: $*" >&2
    exit 0
}

stop() {
    if [[ -f $state/cluster ]]; then
        cluster=$(cat "$state/cluster")
        if [[ -d $cluster/data && -n ${bindir:-} ]]; then
            as_postgres "$bindir/pg_ctl" -D "$cluster/data" -m fast -w stop >/dev/null 2>&1 || true
        fi
        # Only ever remove a folder that this script made.
        if [[ $cluster == /tmp/wxpg.* ]]; then
            rm -rf -- "$cluster"
        fi
    fi
    rm -f -- "$state/cluster" "$state/odbc.ini" "$state/unavailable"
}

port_is_free() {
    ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start() {
    [[ $(id -u) -eq 0 ]] || unavailable "needs root to run the server as the postgres user"
    id postgres >/dev/null 2>&1 || unavailable "no postgres user on this machine"
    command -v runuser >/dev/null || unavailable "runuser is missing"
    [[ -n $bindir ]] || unavailable "no PostgreSQL server programs (initdb, pg_ctl) found"
    [[ -f $SQL_SCRIPT ]] || unavailable "missing $SQL_SCRIPT"

    cluster=$(mktemp -d /tmp/wxpg.XXXXXX)
    echo "$cluster" >"$state/cluster"
    chown postgres:postgres "$cluster"
    chmod 0700 "$cluster"
    # Anything that fails from here on leaves nothing running.
    trap 'stop' ERR
    trap 'stop; exit 1' INT TERM

    echo "$DB_PASSWORD" >"$cluster/pwfile"
    chown postgres:postgres "$cluster/pwfile"
    # Socket logins are trusted (loading the script); TCP logins, which the
    # data source uses, must give the password.
    as_postgres "$bindir/initdb" -D "$cluster/data" -U postgres -A scram-sha-256 \
        --auth-local=trust --pwfile="$cluster/pwfile" -E UTF8 --locale=C.UTF-8 >"$cluster/initdb.log"

    local port started=0
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        port=$((20000 + RANDOM % 40000))
        port_is_free "$port" || continue
        if as_postgres "$bindir/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w start \
            -o "-k $cluster -p $port -c listen_addresses=127.0.0.1 -c fsync=off" >/dev/null; then
            started=1
            break
        fi
    done
    if [[ $started -eq 0 ]]; then
        cat "$cluster/server.log" >&2 || true
        false
    fi

    local psql=("$bindir/psql" -h "$cluster" -p "$port" -v ON_ERROR_STOP=1 -q)
    as_postgres "${psql[@]}" -U postgres -d postgres \
        -c "CREATE ROLE $DB_USER LOGIN PASSWORD '$DB_PASSWORD'" \
        -c "CREATE DATABASE $DB_NAME OWNER $DB_USER"
    # The user owns what the script creates, so tests can change it.
    cp "$SQL_SCRIPT" "$cluster/billing.sql"
    chown postgres:postgres "$cluster/billing.sql"
    as_postgres "${psql[@]}" -U "$DB_USER" -d "$DB_NAME" -f "$cluster/billing.sql" >/dev/null
    # The tests put the sample services back from this copy before each test.
    as_postgres "${psql[@]}" -U "$DB_USER" -d "$DB_NAME" \
        -c "CREATE TABLE SampleBillingService AS TABLE BillingService"

    cat >"$state/odbc.ini" <<EOF
[$DSN_NAME]
Description = Sample billing database of the test cluster
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $port
Database = $DB_NAME
EOF
    trap - ERR INT TERM
    echo "PostgreSQL fixture: data source $DSN_NAME on port $port, cluster $cluster"
}

mkdir -p "$state"
state=$(cd "$state" && pwd)
bindir=$(find_bindir)

case $action in
    start)
        stop
        start
        ;;
    stop) stop ;;
    *) usage ;;
esac
