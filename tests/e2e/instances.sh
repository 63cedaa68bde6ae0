#!/usr/bin/env bash
# Instances of one saver side by side, as daemons and users start them: each has its own
# scratch folder, closing one leaves the other's files and sound alone, SIGTERM ends /S and /C
# through their normal closing path, and folders of killed instances are cleaned at the next
# start.
source "$(dirname "$0")/lib.sh"

saver=$E2E_WORK/cwd/lake.scr
make_water_saver "$saver"
run=$XDG_RUNTIME_DIR

# wait_for_folder NAME: until an instance has extracted its project there.
wait_for_folder() {
  for _ in $(seq 50); do [ -f "$run/$1/lake.qmp" ] && return; sleep 0.1; done
  fail "no project extracted into $1/: $(ls -A "$run") $(cat "$E2E_WORK"/*.err)"
}

"$saver" /S 2>"$E2E_WORK/show.err" &
show=$!
wait_for_picture "/S" 800x600+0+0
"$saver" /C 2>"$E2E_WORK/config.err" &
config=$!
wait_for_folder lake-2
sleep 0.5
kill -TERM "$config"
wait_exit "$config" "SIGTERM in /C"
expect_rc 0 "SIGTERM in /C"
[ ! -e "$run/lake-2" ] || fail "/C left its folder after SIGTERM"
grep -q '^Index=' "$E2E_WORK/cwd/lake.ini" || fail "/C did not write its settings on SIGTERM"
# The show's files are untouched and it goes on.
[ -f "$run/lake/lake.qmp" ] && [ -f "$run/lake/QMGUI.wui" ] || fail "closing /C removed the show's files"
running "$show" || fail "the show ended with the configuration window"
kill -TERM "$show"
wait_exit "$show" "SIGTERM in /S"
expect_rc 0 "SIGTERM in /S"
[ ! -e "$run/lake" ] || fail "/S left its folder after SIGTERM"
expect_no_message "$E2E_WORK/show.err" "/S"

# Two killed instances leave their folders; the next start cleans both up.
"$saver" /S 2>/dev/null &
first=$!
wait_for_folder lake
"$saver" /S 2>/dev/null &
second=$!
wait_for_folder lake-2
kill -9 "$first" "$second"
wait "$first" "$second" 2>/dev/null || true
[ -d "$run/lake" ] && [ -d "$run/lake-2" ] || fail "killed instances left no folders to clean"
"$saver" /S 2>/dev/null &
show=$!
wait_for_picture "/S after killed instances" 800x600+0+0
[ ! -e "$run/lake-2" ] || fail "the folder of a killed second instance was not cleaned"
kill -HUP "$show"
wait_exit "$show" "SIGHUP in /S"
expect_rc 0 "SIGHUP in /S"
[ -z "$(ls -A "$run")" ] || fail "folders left behind: $(ls -A "$run")"

# Two shows with sound on one audio server: when one ends, the other's stream plays on.
start_pulse
sox -n -r 22050 -c 1 -b 16 "$E2E_WORK/tone.wav" synth 0.5 sine 440 vol 0.5
loud=$E2E_WORK/cwd/brook.scr
make_water_saver "$loud" 150 "$E2E_WORK/tone.wav"
# stream_pids: the processes that have a stream on the server, one a line.
stream_pids() {
  pactl list sink-inputs | sed -n 's/^[[:space:]]*application.process.id = "\(.*\)"$/\1/p' | sort
}
# wait_streams N: until N streams play (five seconds at most).
wait_streams() {
  for _ in $(seq 50); do [ "$(stream_pids | wc -l)" -eq "$1" ] && return; sleep 0.1; done
  fail "$1 streams expected, the server has those of: $(stream_pids | xargs)"
}
"$loud" /S 2>"$E2E_WORK/first.err" &
first=$!
wait_for_folder brook
"$loud" /S 2>"$E2E_WORK/second.err" &
second=$!
wait_for_folder brook-2
wait_streams 2
kill -TERM "$first"
wait_exit "$first" "the first of two shows with sound"
expect_rc 0 "the first of two shows with sound"
wait_streams 1
[ "$(stream_pids)" = "$second" ] || fail "the stream left is of $(stream_pids), not of $second"
playing=$(level 1)
awk -v v="$playing" 'BEGIN { exit !(v > 0.1) }' || fail "the second show fell silent ($playing)"
kill -TERM "$second"
wait_exit "$second" "the second of two shows with sound"
expect_rc 0 "the second of two shows with sound"
expect_no_message "$E2E_WORK/first.err" "the first show with sound"
expect_no_message "$E2E_WORK/second.err" "the second show with sound"
echo "instances: all checks passed"
