#!/usr/bin/env bash
# Installs what is needed, builds, and runs the control without a desktop: the test container
# creates the control by its ProgID (registering the module first) on a fresh SQLite store and runs the
# first-light script, printing the whole conversation between control and host.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${ORBEL_BUILD_DIR:-$root/build}"
store="$build/first-light.orbel"
rm -f "$store"
exec "$build/host/container/orbel-container" --register --store "sqlite:$store" --trace-table \
  "$root/docs/examples/first-light.orbel"
