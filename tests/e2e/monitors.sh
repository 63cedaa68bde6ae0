#!/usr/bin/env bash
# /S on a desktop with two monitors as desktops have them: one X screen, two RandR outputs
# side by side (Xorg's dummy driver; Xvfb cannot place heads apart). Both monitors show the
# show and its water moves on both; a key ends both, and so does a click on the second one.
# Starting Xorg needs root; elsewhere the test is skipped.
here=$(cd "$(dirname "$0")" && pwd)
ML_E2E_UNDER_XVFB=1 source "$here/lib.sh"

if [ "$(id -u)" -ne 0 ] || ! command -v Xorg >/dev/null; then
  echo "monitors: skipped (needs root and Xorg)"
  exit 77
fi
display=$((200 + $$ % 500))
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xorg ":$display" -config "$here/xorg-two-screens.conf" -noreset \
  -nolisten tcp -logfile "$E2E_WORK/xorg.log" >/dev/null 2>&1 &
XORG_PID=$!
trap 'kill "$XORG_PID" 2>/dev/null; wait "$XORG_PID" 2>/dev/null; rm -rf "$E2E_WORK"' EXIT
export DISPLAY=:$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xorg did not start: $(tail -5 "$E2E_WORK/xorg.log")"
xrandr --addmode DUMMY1 1024x768
xrandr --output DUMMY1 --mode 1024x768 --right-of DUMMY0

saver=$E2E_WORK/cwd/lake.scr
make_water_saver "$saver"
left=1280x720+0+0
right=1024x768+1280+0

# Both monitors show the show, and the water moves on both.
"$saver" /S 2>"$E2E_WORK/show.err" &
pid=$!
wait_for_picture "left monitor" $left
wait_for_picture "right monitor" $right
shot a
sleep 0.5
shot b
[ "$(changed_pixels "$E2E_WORK/a.png" "$E2E_WORK/b.png" 1280x300+0+400)" -gt 1000 ] ||
  wait_for_motion "the water on the left monitor" 1280x300+0+400 1000
[ "$(changed_pixels "$E2E_WORK/a.png" "$E2E_WORK/b.png" 1024x300+1280+450)" -gt 1000 ] ||
  wait_for_motion "the water on the right monitor" 1024x300+1280+450 1000
# A key ends both.
xdotool key a
wait_exit "$pid" "/S on two monitors, ended by a key"
expect_rc 0 "/S on two monitors, ended by a key"
shot after
[ "$(convert "$E2E_WORK/after.png" -format '%[fx:maxima]' info:)" = 0 ] ||
  fail "a show window stayed after the key"
expect_no_message "$E2E_WORK/show.err" "/S on two monitors"

# So does a click on the second monitor.
"$saver" /S 2>/dev/null &
pid=$!
wait_for_picture "right monitor" $right
xdotool mousemove 1800 300 sleep 0.2 click 1
wait_exit "$pid" "/S on two monitors, ended by a click on the second"
expect_rc 0 "/S on two monitors, ended by a click on the second"
echo "monitors: all checks passed"
