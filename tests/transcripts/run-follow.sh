#!/bin/sh
# Two containers on one store: the watching one opens the store and shows its top folder, the
# other then makes, renames, moves and deletes folders and adds an item; the watching one must
# apply every change through the control's methods, the first within its wait and the rest
# within one second, and print what follow-watch.out holds. Exits 77 (skipped) with one line
# saying why when the store is on PostgreSQL and there is none to start.
#
# usage: run-follow.sh CONTAINER sqlite|postgres
set -u
here=$(cd "$(dirname "$0")" && pwd)
container=$1
kind=$2

. "$here/isolated-run.sh"

if [ "$kind" = postgres ]; then
    # In the build folder: the server's user must reach it, which a private /tmp may not allow.
    cluster="$(pwd)/pg-follow-$$"
    conninfo=$(sh "$here/../store/pg-cluster.sh" start "$cluster")
    started=$?
    if [ "$started" = 77 ]; then echo "skipped: $conninfo"; exit 77; fi
    trap 'sh "$here/../store/pg-cluster.sh" stop "$cluster"; rm -rf "$work"' EXIT
    [ "$started" = 0 ] || exit 1
    store="postgres:$conninfo"
else
    store="sqlite:$work/shared.orbel"
fi

"$container" --store "$store" "$here/follow-seed.script" >"$work/seed.out" 2>&1 ||
    { echo "seeding failed:"; cat "$work/seed.out"; exit 1; }

"$container" --store "$store" "$here/follow-watch.script" >"$work/watch.out" 2>"$work/watch.err" &
watcher=$!
# The watching container is ready once it shows the top folder's contents.
tries=0
until grep -q '^ResponseTimeOut = ' "$work/watch.out" 2>/dev/null; do
    tries=$((tries + 1))
    if [ "$tries" -gt 300 ] || ! kill -0 "$watcher" 2>/dev/null; then
        echo "the watching container did not get ready:"
        cat "$work/watch.out" "$work/watch.err"
        kill "$watcher" 2>/dev/null
        exit 1
    fi
    sleep 0.05
done

"$container" --store "$store" "$here/follow-change.script" >"$work/change.out" 2>&1 ||
    { echo "the changing container failed:"; cat "$work/change.out"; kill "$watcher"; exit 1; }
# The changing container's own writes are in its control already: it applies none of them.
if grep '^follow:' "$work/change.out"; then
    echo "the changing container applied its own writes again"
    kill "$watcher"
    exit 1
fi
wait "$watcher"
status=$?
cat "$work/watch.err"
if ! diff -u "$here/follow-watch.out" "$work/watch.out"; then
    echo "the watching container printed otherwise than follow-watch.out"
    exit 1
fi
exit $status
