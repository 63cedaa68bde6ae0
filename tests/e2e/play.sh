#!/usr/bin/env bash
# play shows a project in a window and ends cleanly: by Escape, and by the Ctrl+C of a
# terminal. Either way nothing of it is left: neither the scratch folder the show's sounds
# take nor the folder the window builds its picture in.
source "$(dirname "$0")/lib.sh"

run_saver badoption "$ML_TOOL" play --bogus
expect_rc 2 "play with an unknown option"
expect_text badoption.err "mirrorlake-tool play: unknown option --bogus" "play --bogus"

make_project "$E2E_WORK/lake"
# With music on, the show looks for it in the scratch folder too (play only warns that the
# file is missing).
sed -i -e 's/^\[Default\]\r$/[Default]\r\nMusic=1\r/' \
  -e 's/^\[Advance\]\r$/[Advance]\r\nMusicFile=tune.mp3\r/' "$E2E_WORK/lake/project.ini"

# The sound system may leave its own folder (pulse/); none of ours may stay.
nothing_left() {
  local left
  left=$(cd "$E2E_WORK" && ls -d run/mirrorlake-tool* tmp/mirrorlake-tool* 2>/dev/null || true)
  [ -z "$left" ] || fail "play left $left behind $1"
}

play() {
  "$ML_TOOL" play "$E2E_WORK/lake" --size 320x240 >play.out 2>play.err &
  PLAY_PID=$!
  window=$(wait_window "^lake — mirrorlake-tool play$")
  [ -n "$window" ] || fail "play opened no window: $(cat play.err)"
  wait_for_picture "play" 320x240+0+0
  [ -d "$XDG_RUNTIME_DIR/mirrorlake-tool" ] || fail "the show took no scratch folder to look into"
}

play
xdotool windowfocus --sync "$window" key Escape
wait_exit "$PLAY_PID" "play after Escape"
expect_rc 0 "play after Escape"
nothing_left "after Escape"

play
kill -INT "$PLAY_PID"
wait_exit "$PLAY_PID" "play after Ctrl+C"
expect_rc 0 "play after Ctrl+C"
nothing_left "after Ctrl+C"
echo "play: all checks passed"
