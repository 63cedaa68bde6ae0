#!/usr/bin/env bash
# What the programs say about themselves and the failures that come before any window:
# --help and --version, no display, the plain program without a project, and a saver started
# through a link (known by the link's name).
source "$(dirname "$0")/lib.sh"

saver=$E2E_WORK/cwd/lake.scr
make_water_saver "$saver"

run_saver help "$saver" --help
expect_rc 0 "--help"
for text in "Usage: lake.scr" 'It carries "Lake" with 1 picture.' "/s" "/p WINDOW" \
  "-root, --root" "-window-id ID" "XSCREENSAVER_WINDOW" "SIGTERM" "Do not strip"; do
  expect_text help.out "$text" "--help"
done
[ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "--help left files behind"
run_saver version "$saver" --version
expect_rc 0 "--version"
grep -qE '^mirrorlake [0-9]+\.[0-9]+' version.out || fail "--version: $(cat version.out)"
run_saver toolversion "$ML_TOOL" --version
expect_rc 0 "mirrorlake-tool --version"
grep -qE '^mirrorlake-tool [0-9]+\.[0-9]+' toolversion.out || fail "tool --version: $(cat toolversion.out)"

# The tool and the studio: usage on --help, one line and a failing exit code on a wrong
# option, all of it before (and without) any display.
run_saver toolhelp env -u DISPLAY "$ML_TOOL" --help
expect_rc 0 "mirrorlake-tool --help"
expect_text toolhelp.out "Usage: mirrorlake-tool COMMAND" "mirrorlake-tool --help"
run_saver toolbad env -u DISPLAY "$ML_TOOL" --bogus
[ "$RUN_RC" -ne 0 ] || fail "mirrorlake-tool --bogus: exit code 0"
[ "$(cat toolbad.err)" = "mirrorlake-tool: unknown option '--bogus' (see --help)" ] ||
  fail "mirrorlake-tool --bogus: $(cat toolbad.err)"
run_saver studiohelp env -u DISPLAY "$ML_STUDIO" --help
expect_rc 0 "mirrorlake-studio --help"
expect_text studiohelp.out "Usage: $ML_STUDIO [options] [FILE|DIR]" "mirrorlake-studio --help"
run_saver studiobad env -u DISPLAY "$ML_STUDIO" --bogus
[ "$RUN_RC" -ne 0 ] || fail "mirrorlake-studio --bogus: exit code 0"
[ "$(wc -l <studiobad.err)" -eq 1 ] && expect_text studiobad.err "Unknown option 'bogus'" \
  "mirrorlake-studio --bogus" || fail "mirrorlake-studio --bogus: $(cat studiobad.err)"

# No display: one line and exit code 1, never an abort.
for args in /S /C "-root"; do
  run_saver nodisplay env -u DISPLAY "$saver" $args
  expect_rc 1 "no display, $args"
  [ "$(cat nodisplay.err)" = "mirrorlake: cannot open the display (DISPLAY is not set)" ] ||
    fail "no display, $args: $(cat nodisplay.err)"
done

# The plain program carries no project: it says so and how to make one, and leaves nothing.
cp "$ML_BIN/mirrorlake" "$E2E_WORK/bare"
for mode in /c /s; do
  run_saver bare "$E2E_WORK/bare" $mode
  expect_rc 1 "program without a project, $mode"
  expect_text bare.err "carries no project" "program without a project"
  expect_text bare.err "mirrorlake-tool pack" "program without a project"
done
run_saver barehelp "$E2E_WORK/bare" --help
expect_text barehelp.out "carries no project" "--help of the plain program"
[ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "the plain program left $(ls -A "$XDG_RUNTIME_DIR")"

# Started through a link, a saver goes by the link's name: its folder and settings file.
ln -s "$saver" "$E2E_WORK/cwd/brook.scr"
run_saver link ./brook.scr /p 1
expect_rc 0 "a saver started through a link"
[ -d "$XDG_RUNTIME_DIR/brook" ] || fail "a linked saver did not use its own name: $(ls -A "$XDG_RUNTIME_DIR")"
run_saver linkhelp ./brook.scr --help
expect_text linkhelp.out "Usage: brook.scr" "--help through a link"
echo "help: all checks passed"
