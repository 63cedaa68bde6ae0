#!/usr/bin/env bash
# The main job: build everything, make the demo project, pack it into a saver and run the
# show full screen (any key, mouse button or mouse move ends it).
#   scripts/demo.sh [SWITCH]   SWITCH is passed to the saver: /S (default), /C, /P ID ...
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
build/tools/mirrorlake-tool demo -o build/demo-project
build/tools/mirrorlake-tool pack build/demo-project -o build/waves.scr
exec build/waves.scr "${@:-/S}"
