#!/bin/sh
# Runs one golden transcript with the container's store on a throwaway PostgreSQL server of its
# own: run-transcript.sh with `--store postgres:CONNINFO` before the other options. The
# transcript must be the one the SQLite store gives. Exits 77 (skipped) with one line saying
# why when there is no PostgreSQL to start.
#
# usage: run-on-postgres.sh CONTAINER SCRIPT EXPECTED STATUS [OPTION...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
container=$1 script=$2 expected=$3 status=$4
shift 4
# In the build folder: the server's user must reach it, which a private /tmp may not allow.
cluster="$(pwd)/pg-$$"
conninfo=$(sh "$here/../store/pg-cluster.sh" start "$cluster")
started=$?
if [ "$started" = 77 ]; then echo "skipped: $conninfo"; exit 77; fi
[ "$started" = 0 ] || { sh "$here/../store/pg-cluster.sh" stop "$cluster"; exit 1; }
sh "$here/run-transcript.sh" "$container" "$script" "$expected" "$status" \
    --store "postgres:$conninfo" "$@"
result=$?
sh "$here/../store/pg-cluster.sh" stop "$cluster"
exit $result
