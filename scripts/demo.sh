#!/usr/bin/env bash
# The main job: build everything and show what the authoring tool offers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
build/tools/mirrorlake-tool --help
