#!/usr/bin/env bash
# Preview mode draws the project's preview picture, stretched, into a window the host made,
# and the picture stays there after the saver has ended.
source "$(dirname "$0")/lib.sh"
: "${ML_TEST_WINDOW:?ML_TEST_WINDOW must name the host-window helper}"

make_project proj preview.jpg
SAVER="$E2E_WORK/my.saver.scr"
pack_saver proj "$SAVER"

# The helper's picture has red, green, blue and white quadrants. Stretched over a window of
# another shape, each corner of the window shows its quadrant's colour.
check_quadrants() {
  local w=$1 h=$2 dx=$(($1 / 10)) dy=$(($2 / 10))
  host_say check $dx $dy FF0000
  host_say check $((w - dx)) $dy 00FF00
  host_say check $dx $((h - dy)) 0000FF
  host_say check $((w - dx)) $((h - dy)) FFFFFF
}

# A visible window is drawn into at once, stretched without keeping proportions (the picture
# is 2:1, the window 5:1).
start_window 300 60
run_saver visible "$SAVER" /p "$HOST_ID"
expect_rc 0 "preview into a visible window"
expect_no_message visible.err "preview into a visible window"
check_quadrants 300 60
# The saver has ended; a repaint of the window still shows the picture.
host_say remap
check_quadrants 300 60
stop_window

# The extracted files stay for the next preview run.
[ -f "$XDG_RUNTIME_DIR/my/preview.jpg" ] || fail "extracted preview picture was removed"

# A window that the host shows a little later is waited for.
start_window 120 120 hidden
set +e
timeout 60 "$SAVER" /P "$HOST_ID" 2>late.err &
saver=$!
sleep 1
host_say map
wait $saver
RUN_RC=$?
set -e
expect_rc 0 "preview into a window shown later"
check_quadrants 120 120
stop_window

# A window id that names no window: given up on at once.
start_window 50 50
gone=$HOST_ID
stop_window
run_saver gone "$SAVER" -p "$gone"
expect_rc 1 "preview into a destroyed window"
expect_text gone.err "There is no window $gone to draw the preview into" "destroyed window"

# A signal ends the wait for a hidden window at once, with exit code 0.
start_window 50 50 hidden
"$SAVER" /p "$HOST_ID" 2>"$E2E_WORK/waiting.err" &
waiting=$!
sleep 1
kill -TERM "$waiting"
wait_exit "$waiting" "SIGTERM while preview waits" 1
expect_rc 0 "SIGTERM while preview waits"
stop_window

# A window that is never shown: given up on after ten seconds.
start_window 50 50 hidden
started=$(date +%s)
run_saver never "$SAVER" p "$HOST_ID"
elapsed=$(($(date +%s) - started))
stop_window
expect_rc 1 "preview into a window never shown"
expect_text never.err "did not become visible within 10 seconds" "window never shown"
[ "$elapsed" -ge 9 ] && [ "$elapsed" -le 30 ] || fail "gave up after ${elapsed}s, expected about 10"

echo "preview: all checks passed"
