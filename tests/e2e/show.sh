#!/usr/bin/env bash
# The full-screen show on both display paths: a picture within a second, water that moves
# while the rest stands still, and the exit rules (Shift stays, a letter ends, a mouse move of
# three pixels after the grace moves ends) with the scratch folder gone afterwards.
source "$(dirname "$0")/lib.sh"

dir=$E2E_WORK/lake
mkdir -p "$dir"
# A textured picture whose lower half is water, filling the 800 x 600 screen.
convert -seed 7 -size 400x300 plasma:orange-navy "$dir/lake.png"
convert -size 400x300 xc:black -fill '#0000FF' -draw 'rectangle 0,150 399,299' "$dir/areas.png"
printf '[Area1]\r\nAmplitude=6\r\nWaveCount=12\r\nPhaseStep=20\r\nDirection=1\r\nVertical=1\r\n' >"$dir/waves.ini"
"$ML_TOOL" make-qmp --image "$dir/lake.png" --areas "$dir/areas.png" --params "$dir/waves.ini" \
  -o "$dir/lake.qmp" >/dev/null
printf '[FileList]\r\nlake.qmp=1\r\n[General]\r\nProductName=Lake\r\n[Default]\r\nStretch=1\r\nProportional=0\r\nDirectX=0\r\nSound=0\r\nMusic=0\r\n[Advance]\r\n[Build]\r\n[UI]\r\n' >"$dir/project.ini"
saver=$E2E_WORK/cwd/lake.scr
pack_saver "$dir" "$saver"

# changed_pixels A B Y0 HEIGHT: how many pixels differ between two shots in a band of rows.
changed_pixels() {
  compare -metric AE -extract "800x$4+0+$3" "$1" "$2" null: 2>&1 || true
}

running() { kill -0 "$1" 2>/dev/null; }

# wait_exit PID: waits up to five seconds for the show to end and sets RUN_RC.
wait_exit() {
  for _ in $(seq 50); do running "$1" || break; sleep 0.1; done
  running "$1" && { kill "$1"; fail "$2: the show did not end"; }
  set +e; wait "$1"; RUN_RC=$?; set -e
}

start_show() {
  "$saver" /S >"$E2E_WORK/show.out" 2>"$E2E_WORK/show.err" &
  SHOW_PID=$!
}

check_path() {
  local label=$1
  start_show
  sleep 1
  import -window root "$E2E_WORK/a.png"
  [ "$(convert "$E2E_WORK/a.png" -format '%[fx:mean>0.05]' info:)" = 1 ] ||
    fail "$label: no picture on screen after a second"
  title=$(net_wm_name "$(xdotool search --onlyvisible --pid "$SHOW_PID" | head -1)")
  [ "$title" = "Lake" ] || fail "$label: the show window is titled '$title', not the product name"
  sleep 0.5
  import -window root "$E2E_WORK/b.png"
  sky=$(changed_pixels "$E2E_WORK/a.png" "$E2E_WORK/b.png" 0 280)
  water=$(changed_pixels "$E2E_WORK/a.png" "$E2E_WORK/b.png" 320 280)
  [ "$sky" -eq 0 ] || fail "$label: $sky pixels changed outside the water"
  [ "$water" -gt 1000 ] || fail "$label: the water did not move ($water pixels changed)"

  xdotool key shift
  sleep 0.3
  running "$SHOW_PID" || fail "$label: Shift ended the show"
  xdotool key a
  wait_exit "$SHOW_PID" "$label key"
  expect_rc 0 "$label: a letter key"
  [ ! -e "$XDG_RUNTIME_DIR/lake" ] || fail "$label: the extraction folder is still there"

  start_show
  sleep 1
  # The first move leaves the pointer's starting place (the screen's centre). The show may
  # merge moves that arrive within one frame, so there are more small ones than the five it
  # ignores, spaced out, and none of them is more than two pixels.
  xdotool mousemove 300 200
  for i in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative 1 0; sleep 0.1; done
  xdotool mousemove_relative 2 0
  sleep 0.3
  running "$SHOW_PID" || fail "$label: small mouse moves ended the show"
  xdotool mousemove_relative 3 0
  wait_exit "$SHOW_PID" "$label mouse"
  expect_rc 0 "$label: a three-pixel mouse move"
}

check_path "window path"
# The user's own settings switch the hardware (OpenGL) path on.
printf '[Setting]\r\nDirectX=1\r\nDirectXQuality=1\r\n' >"$E2E_WORK/cwd/lake.ini"
check_path "OpenGL path"
echo "show: both display paths passed"
