#!/usr/bin/env bash
# Makes the README's pictures from our own renders: docs/demo-scenes.gif (two demo scenes,
# two seconds each, as `render` draws the show's frames) and docs/configuration-window.png
# (the demo saver's configuration window on a virtual display). Needs a build (build/ or
# the folder given), Xvfb and ImageMagick.
#   scripts/make-docs.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tool=$build/tools/mirrorlake-tool
[ -x "$tool" ] || { echo "make-docs: no $tool; build first (see README.md)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run TMPDIR=$work/tmp MIRRORLAKE_MESSAGES=stderr
mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"

"$tool" demo -o "$work/demo" >/dev/null
mkdir "$work/frames"
for scene in dusk-lake mountain-lake; do
  "$tool" render "$work/demo/$scene.qmp" -o "$work/frames/$scene-%03d.png" --frames 60 \
    --size 480x270 --keep-aspect >/dev/null
done
# The show's pace is one frame every 33 ms; one palette of 128 colours keeps the file small.
convert -delay 33x1000 -loop 0 "$work"/frames/dusk-lake-*.png "$work"/frames/mountain-lake-*.png \
  -layers Optimize -colors 128 docs/demo-scenes.gif

"$tool" pack "$work/demo" -o "$work/waves.scr" >/dev/null
cat >"$work/shot.sh" <<'SHOT'
"$1" /C >/dev/null 2>&1 &
config=$!
for _ in $(seq 100); do
  window=$(xdotool search --name "^Mirrorlake Demo$" 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "${window:-}" ] || { echo "make-docs: the configuration window did not open" >&2; exit 1; }
sleep 2 # the thumbnails and the preview load after the window shows
import -window "$window" "$2"
kill "$config"
SHOT
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$work/shot.sh" "$work/waves.scr" \
  docs/configuration-window.png

total=$(($(stat -c %s docs/demo-scenes.gif) + $(stat -c %s docs/configuration-window.png)))
echo "docs/demo-scenes.gif and docs/configuration-window.png: $((total / 1024)) KiB together"
[ "$total" -lt $((3 * 1024 * 1024)) ] || { echo "make-docs: over 3 MB together" >&2; exit 1; }
