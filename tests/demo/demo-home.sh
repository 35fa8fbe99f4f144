# Sourced by the demo's test scripts: a folder of the run's own as the user's home, data,
# settings, registry and runtime folder, removed when the script ends. Sets `work`.
work=$(mktemp -d "${TMPDIR:-/tmp}/orbel-demo-test.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export ORBEL_REGISTRY="$work/registry.reg" ORBEL_INI_DIR="$work/ini"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# SANE's test scanners in place of the machine's, whose network backends take seconds.
mkdir -p "$work/sane" && echo test >"$work/sane/dll.conf"
export SANE_CONFIG_DIR="$work/sane:"
