#!/bin/sh
# Several containers on one new SQLite store at once, each taking OLE IDs and resource IDs the
# way the control takes them for new items: no ID may be handed out twice, and none may fail.
# Prints how many were taken, how many twice, and how long it took.
#
# usage: run-shared-store.sh CONTAINER [PROCESSES [TAKES [STORE]]]
# STORE is the --store value, a new SQLite file of the run's own by default.
set -u
container=$1
processes=${2:-4}
takes=${3:-1000}
store=${4:-}

. "$(dirname "$0")/isolated-run.sh"

i=0
while [ "$i" -lt "$takes" ]; do
    echo "store GetNextOLEID"
    echo "store GetNextResourceID"
    i=$((i + 1))
done >"$work/takes.script"

start=$(date +%s.%N)
p=1
pids=""
while [ "$p" -le "$processes" ]; do
    "$container" --store "${store:-sqlite:$work/shared.orbel}" "$work/takes.script" \
        >"$work/out.$p" 2>"$work/err.$p" &
    pids="$pids $!"
    p=$((p + 1))
done
failed=0
for pid in $pids; do
    wait "$pid" || failed=1
done
end=$(date +%s.%N)

if [ "$failed" != 0 ]; then
    echo "a container failed; what they said:"
    cat "$work"/err.*
fi
for kind in GetNextOLEID GetNextResourceID; do
    grep -h "^store $kind() -> " "$work"/out.* | sed 's/.* -> //' >"$work/ids"
    total=$(wc -l <"$work/ids")
    twice=$(grep -v -- '^-1$' "$work/ids" | sort | uniq -d | wc -l)
    refused=$(grep -c -- '^-1$' "$work/ids")
    echo "$kind: $total taken by $processes programs, $twice handed out twice, $refused refused"
    if [ "$total" -ne $((processes * takes)) ] || [ "$twice" -ne 0 ] || [ "$refused" -ne 0 ]; then
        failed=1
    fi
done
echo "time: $(awk "BEGIN { printf \"%.1f\", $end - $start }") s"
exit $failed
