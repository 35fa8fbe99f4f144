#!/usr/bin/env bash
# The main job: installs what is needed, builds, and opens the desktop demo on its SQLite store
# ($XDG_DATA_HOME/orbel/demo.orbel, made with sample folders and items on the first run).
# Without a display the demo says so in one line and how to run it instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${ORBEL_BUILD_DIR:-$root/build}"
exec "$build/host/demo/orbel-demo" "$@"
