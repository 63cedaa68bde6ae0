#!/usr/bin/env bash
# Runs every fuzz target of a build tree on its seed corpus: a fixed number of inputs from a
# fixed random seed, so a run is repeatable, and never longer than SECONDS. Inputs go up to
# 1 MiB and a run may take at most a little more than the largest picture allowed, so that
# small inputs asking for seconds or gigabytes are found as faults. fuzz/NAME.dict, when
# present, gives a target words to splice in.
#   scripts/fuzz.sh BUILD_DIR [SECONDS] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
seconds=${2:-20}
runs=${3:-20000}
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  work=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
  dict=()
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  echo "fuzz: $name, $runs inputs (at most ${seconds}s)"
  QT_QPA_PLATFORM=offscreen MIRRORLAKE_MESSAGES=stderr \
    "$target" -seed=1 -runs="$runs" -max_total_time="$seconds" -timeout=10 \
    -max_len=1048576 -rss_limit_mb=2048 -malloc_limit_mb=1100 "${dict[@]}" "$work" >"$work.log" 2>&1 ||
    { tail -40 "$work.log"; rm -rf "$work" "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
done
