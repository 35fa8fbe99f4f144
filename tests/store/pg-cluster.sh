#!/bin/sh
# A throwaway PostgreSQL server for shell tests and benchmarks, as the store's C++ tests make
# one: initdb into a new folder DIR (as the postgres user when run as root), a free port, the
# socket in DIR, fsync off.
#
#   pg-cluster.sh start DIR   prints the connection string, or exits 77 with one line saying
#                             why there is no server (PostgreSQL not installed...)
#   pg-cluster.sh stop DIR    stops it and removes DIR
set -u
action=$1
dir=$2

bindir=${ORBEL_PG_BINDIR:-}
if [ -z "$bindir" ]; then
    for d in /usr/lib/postgresql/*/bin; do
        [ -x "$d/initdb" ] && [ -x "$d/postgres" ] && bindir=$d
    done
fi

as_server() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case $action in
start)
    if [ -z "$bindir" ]; then
        echo "PostgreSQL is not installed (no initdb in /usr/lib/postgresql/*/bin)"
        exit 77
    fi
    if [ "$(id -u)" = 0 ] && ! id postgres >/dev/null 2>&1; then
        echo "running as root and there is no postgres user to run the server"
        exit 77
    fi
    mkdir "$dir" || exit 1
    [ "$(id -u)" = 0 ] && chown postgres "$dir"
    as_server "$bindir/initdb" -D "$dir/data" -A trust -U postgres --no-sync -E UTF8 \
        --locale=C >"$dir/initdb.log" 2>&1 || { echo "initdb failed: $(tail -1 "$dir/initdb.log")" >&2; exit 1; }
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/log" -w -o \
        "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        start >/dev/null 2>&1 || { echo "the server did not start: $(tail -1 "$dir/log")" >&2; exit 1; }
    echo "host=$dir port=$port user=postgres dbname=postgres"
    ;;
stop)
    [ -d "$dir/data" ] && as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1
    rm -rf "$dir"
    ;;
esac
