#!/usr/bin/env bash
# Builds everything and runs every test (unit, end-to-end, smoke runs of the benchmarks).
#   scripts/test.sh              the normal build in build/
#   scripts/test.sh --sanitize   unit tests again under ASan+UBSan (clang) in build-asan/,
#                                plus a short run of every fuzz target on its seed corpus
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
if [ "${1:-}" = "--sanitize" ]; then
  CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DMIRRORLAKE_SANITIZE=ON -DMIRRORLAKE_FUZZ=ON -DMIRRORLAKE_BENCH=OFF -DMIRRORLAKE_E2E=OFF >/dev/null
  cmake --build build-asan -j "$jobs"
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
  # Qt's own caches and fonts are not ours to fix.
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
  ctest --test-dir build-asan -L unit --output-on-failure -j "$jobs"
  scripts/fuzz.sh build-asan 60
else
  cmake -S . -B build -G Ninja >/dev/null
  cmake --build build -j "$jobs"
  ctest --test-dir build --output-on-failure -j "$jobs"
fi
