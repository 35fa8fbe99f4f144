#!/bin/sh
# Runs one golden transcript: orbel-container on SCRIPT, from the folder that holds it so that
# FILE:LINE messages name the script alone, with a registry, configuration and file types of its
# own; then compares standard output with EXPECTED and the exit status with STATUS. A mismatch
# prints the difference (and, for a wrong status, what the container said on standard error).
#
# usage: run-transcript.sh CONTAINER SCRIPT EXPECTED STATUS [OPTION...]
set -u
container=$1
script=$2
expected=$3
status=$4
shift 4

. "$(dirname "$0")/isolated-run.sh"
# A temporary folder of the run's own; transcripts name it $TMPDIR/.
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
# File types come from the folder's own small MIME database, never from the machine's.
XDG_DATA_DIRS="$(cd "$(dirname "$script")" && pwd)/data"
export XDG_DATA_DIRS

cd "$(dirname "$script")" || exit 1
# A newcomer's shell: the container makes a temporary folder of its own.
if [ "${ORBEL_TRANSCRIPT_WITHOUT_TMPDIR:-}" = 1 ]; then unset TMPDIR; fi
"$container" "$@" "$(basename "$script")" >"$work/actual" 2>"$work/errors"
actual_status=$?

failed=0
if ! diff -u "$expected" "$work/actual"; then
    echo "the transcript of $(basename "$script") differs from $(basename "$expected") (above)"
    failed=1
fi
if [ "$actual_status" != "$status" ]; then
    echo "exit status $actual_status, expected $status; standard error:"
    cat "$work/errors"
    failed=1
fi
exit $failed
