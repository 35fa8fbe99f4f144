# Sourced by the transcript runners: makes a work folder of the run's own in $work (removed at
# exit) and points the registry, the initialisation files and the XDG folders into it, so a run
# never reads or writes the machine's.
work=$(mktemp -d "${TMPDIR:-/tmp}/orbel-run-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
export ORBEL_REGISTRY="$work/registry.reg"
export ORBEL_INI_DIR="$work/ini"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"
# No scanner: SANE reads an empty list of backends instead of the machine's (whose network
# backends take seconds to answer).
mkdir -p "$work/sane" && : >"$work/sane/dll.conf"
export SANE_CONFIG_DIR="$work/sane:"
