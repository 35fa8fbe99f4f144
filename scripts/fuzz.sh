#!/usr/bin/env bash
# Builds every fuzz target with clang into build-fuzz/ and runs each for a few seconds
# (first argument, default 10). A finding stops the script with the fuzzer's report.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-10}"
bash "$root/scripts/install-deps.sh"
export ORBEL_BUILD_DIR="$root/build-fuzz"
bash "$root/scripts/build.sh" -DCMAKE_CXX_COMPILER=clang++-14 -DORBEL_FUZZ=ON -DORBEL_TESTS=OFF -DORBEL_BENCH=OFF -DORBEL_QT=OFF
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for fuzzer in "$ORBEL_BUILD_DIR"/fuzz/*_fuzz; do
  name="$(basename "$fuzzer" _fuzz)"
  corpus="$work/$name"
  mkdir -p "$corpus"
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$corpus/"
  # The script language's test programs are its seeds: one copy of each, kept with its tests.
  [ "$name" = vbscript ] && cp "$root"/tests/script/vbscript/programs/*.vbs "$corpus/"
  echo "fuzz: $name for ${seconds}s"
  (cd "$work" && "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$corpus" >"$work/$name.log" 2>&1) || {
    tail -n 60 "$work/$name.log"
    echo "fuzz: $name found a fault" >&2
    exit 1
  }
done
echo "fuzz: no findings"
