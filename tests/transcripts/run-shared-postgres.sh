#!/bin/sh
# run-shared-store.sh with the store on a throwaway PostgreSQL server of its own: several
# containers taking IDs from one server at once. Exits 77 (skipped) with one line saying why
# when there is no PostgreSQL to start.
#
# usage: run-shared-postgres.sh CONTAINER PROCESSES TAKES
set -u
here=$(cd "$(dirname "$0")" && pwd)
cluster="$(pwd)/pg-ids-$$"
conninfo=$(sh "$here/../store/pg-cluster.sh" start "$cluster")
started=$?
if [ "$started" = 77 ]; then echo "skipped: $conninfo"; exit 77; fi
[ "$started" = 0 ] || { sh "$here/../store/pg-cluster.sh" stop "$cluster"; exit 1; }
sh "$here/run-shared-store.sh" "$1" "$2" "$3" "postgres:$conninfo"
result=$?
sh "$here/../store/pg-cluster.sh" stop "$cluster"
exit $result
