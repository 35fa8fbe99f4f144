#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer (clang) into build-asan/ and
# runs the whole test suite there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
export ORBEL_BUILD_DIR="$root/build-asan"
bash "$root/scripts/build.sh" -DCMAKE_CXX_COMPILER=clang++-14 -DORBEL_SANITIZE=ON -DORBEL_BENCH=OFF
cd "$ORBEL_BUILD_DIR"
LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp" \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$(nproc)"
