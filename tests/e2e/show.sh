#!/usr/bin/env bash
# The full-screen show on both display paths: a picture soon after the start, water that moves
# while the rest stands still, and the exit rules (Shift stays, a letter ends, a mouse move of
# three pixels after the grace moves ends) with the scratch folder gone afterwards.
source "$(dirname "$0")/lib.sh"

saver=$E2E_WORK/cwd/lake.scr
make_water_saver "$saver"

start_show() {
  "$saver" /S >"$E2E_WORK/show.out" 2>"$E2E_WORK/show.err" &
  SHOW_PID=$!
}

check_path() {
  local label=$1
  start_show
  wait_for_picture "$label" 800x600+0+0
  title=$(net_wm_name "$(xdotool search --onlyvisible --pid "$SHOW_PID" | head -1)")
  [ "$title" = "Lake" ] || fail "$label: the show window is titled '$title', not the product name"
  wait_for_motion "$label: the water" 800x280+0+320 1000
  expect_still "$label: outside the water" 800x280+0+0

  xdotool key shift
  sleep 0.3
  running "$SHOW_PID" || fail "$label: Shift ended the show"
  xdotool key a
  wait_exit "$SHOW_PID" "$label key"
  expect_rc 0 "$label: a letter key"
  [ ! -e "$XDG_RUNTIME_DIR/lake" ] || fail "$label: the extraction folder is still there"

  start_show
  wait_for_picture "$label" 800x600+0+0
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
# The user's own settings switch the hardware (OpenGL) path on; Xvfb renders in software, so
# the show takes it only when forced.
printf '[Setting]\r\nDirectX=1\r\nDirectXQuality=1\r\n' >"$E2E_WORK/cwd/lake.ini"
MIRRORLAKE_GL=force check_path "OpenGL path"
echo "show: both display paths passed"
