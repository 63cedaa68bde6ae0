#!/usr/bin/env bash
# Instances of one saver side by side, as daemons and users start them: each has its own
# scratch folder, closing one leaves the other's files alone, SIGTERM ends /S and /C through
# their normal closing path, and folders of killed instances are cleaned at the next start.
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
echo "instances: all checks passed"
