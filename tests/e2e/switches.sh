#!/usr/bin/env bash
# The switches a host passes select one mode each; exit codes and reports of the start
# sequence.
source "$(dirname "$0")/lib.sh"

make_project proj preview.jpg
SAVER="$E2E_WORK/lake.scr"
pack_saver proj "$SAVER"

# Password change has nothing to change here: nothing shown, exit 0.
run_saver password "$SAVER" /A 1
expect_rc 0 "/A 1"
expect_no_message password.err "/A 1"

# A switch no mode knows runs nothing.
for unknown in SAVER /x -Q; do
  run_saver unknown "$SAVER" "$unknown"
  expect_rc 0 "switch $unknown"
  expect_no_message unknown.err "switch $unknown"
done

# A host window id that is not a number is reported, upper-cased as the switch reads it.
run_saver badid "$SAVER" /P notanumber
expect_rc 1 "/P notanumber"
expect_text badid.err "'NOTANUMBER' is not a valid integer value" "/P notanumber"

# Show finds no picture in a project that lists none, says so and removes the extracted
# files. (Configure opens its window; the configure test covers it.)
pack_empty_saver "$E2E_WORK/empty.scr"
run_saver mode "$E2E_WORK/empty.scr" /S
expect_rc 0 "switch /S"
expect_text mode.err "No image found in Images List." "switch /S"
[ ! -e "$XDG_RUNTIME_DIR/empty" ] || fail "switch /S left the extraction folder"

# A project without a preview picture: preview draws nothing and never reads the id.
make_project plain
pack_saver plain "$E2E_WORK/plain.scr"
run_saver nopreview "$E2E_WORK/plain.scr" /p notanumber
expect_rc 0 "preview without a preview picture"
expect_no_message nopreview.err "preview without a preview picture"

echo "switches: all checks passed"
