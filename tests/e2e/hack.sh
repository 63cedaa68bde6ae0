#!/usr/bin/env bash
# The show as a screen-saver daemon's hack: inside a window the test makes (as XScreenSaver
# does), at its size and following its size; the water moves there and nothing changes
# outside it; keys and the mouse belong to the host; SIGTERM ends it within a second with
# exit code 0 and the scratch folder gone. Also -root with $XSCREENSAVER_WINDOW (and SIGINT)
# and without it (the root window, and SIGHUP).
source "$(dirname "$0")/lib.sh"
: "${ML_TEST_WINDOW:?ML_TEST_WINDOW must name the host-window helper}"

saver=$E2E_WORK/cwd/lake.scr
make_water_saver "$saver"

# end_within_a_second PID SIGNAL WHAT: sends the signal and checks the clean end.
end_within_a_second() {
  local started ended
  started=$(date +%s%N)
  kill -"$2" "$1"
  wait_exit "$1" "$3" 3
  ended=$(date +%s%N)
  expect_rc 0 "$3"
  [ $(((ended - started) / 1000000)) -lt 1000 ] ||
    fail "$3: took $(((ended - started) / 1000000)) ms to end"
  [ ! -e "$XDG_RUNTIME_DIR/lake" ] || fail "$3: the scratch folder is still there"
}

# The window sits at the top left of the 800 x 600 screen.
start_window 400 300
"$saver" -window-id "$(printf '0x%x' "$HOST_ID")" 2>"$E2E_WORK/hack.err" &
pid=$!
wait_for_picture "-window-id" 400x300+0+0 textured
wait_for_motion "-window-id: the water" 400x150+0+150 500
expect_still "-window-id: the sky" 400x140+0+0
[ "$(convert "$E2E_WORK/b.png" -crop 400x600+400+0 -format '%[fx:maxima]' info:)" = 0 ] ||
  fail "-window-id: something was drawn outside the window"
[ "$(convert "$E2E_WORK/b.png" -crop 800x300+0+300 -format '%[fx:maxima]' info:)" = 0 ] ||
  fail "-window-id: something was drawn below the window"

# Input belongs to the host.
xdotool mousemove 200 150 sleep 0.1 mousemove 10 10 click 1 key a
sleep 0.3
running "$pid" || fail "-window-id: input ended the show"

# The show follows the window's size: the water moves in the part that grew.
host_say resize 600 400
wait_for_motion "-window-id: the show in the part of the window that grew" 200x100+400+300 100

end_within_a_second "$pid" TERM "SIGTERM in hack mode"
expect_no_message "$E2E_WORK/hack.err" "-window-id"
stop_window

# -root draws into the window the daemon names in $XSCREENSAVER_WINDOW; SIGINT ends it too.
start_window 300 200
XSCREENSAVER_WINDOW=$HOST_ID "$saver" --root 2>"$E2E_WORK/root.err" &
pid=$!
wait_for_picture "-root" 300x200+0+0 textured
[ "$(convert "$E2E_WORK/wait.png" -crop 500x600+300+0 -format '%[fx:maxima]' info:)" = 0 ] ||
  fail "-root: drawn outside the window of \$XSCREENSAVER_WINDOW"
end_within_a_second "$pid" INT "SIGINT in hack mode"
stop_window

# Without $XSCREENSAVER_WINDOW, -root is the desktop's background: under every window.
start_window 300 200
"$saver" -root 2>"$E2E_WORK/bare-root.err" &
pid=$!
wait_for_picture "-root on the root window" 500x400+300+200
host_say check 150 100 808080
end_within_a_second "$pid" HUP "SIGHUP in hack mode"
stop_window

# A window id that names nothing is reported; no folder is made.
run_saver badid "$saver" -window-id 0x7fffffff
expect_rc 1 "-window-id of no window"
expect_text badid.err "There is no window 0x7fffffff" "-window-id of no window"
[ ! -e "$XDG_RUNTIME_DIR/lake" ] || fail "a failed start left the scratch folder"
echo "hack: all checks passed"
