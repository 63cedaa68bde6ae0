#!/usr/bin/env bash
# The demo saver's configuration window: it opens with /C, a click on the second thumbnail
# changes the preview, the settings dialog's OK writes the nine keys, closing writes the
# selected picture, and the next show runs with those settings.
source "$(dirname "$0")/lib.sh"

"$ML_TOOL" demo -o "$E2E_WORK/demo" >/dev/null
saver=$E2E_WORK/cwd/waves.scr
pack_saver "$E2E_WORK/demo" "$saver"
settings=$E2E_WORK/cwd/waves.ini

"$saver" /C >"$E2E_WORK/config.out" 2>"$E2E_WORK/config.err" &
config=$!
window=$(wait_window "^Mirrorlake Demo$")
[ -n "$window" ] || fail "the configuration window did not open: $(cat "$E2E_WORK/config.err")"
title=$(net_wm_name "$window")
[ "$title" = "Mirrorlake Demo" ] || fail "the window is titled '$title', not its caption"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
# click X Y: a left click at a point of the window.
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }

import -window root "$E2E_WORK/before.png"
click 203 172 # the second thumbnail
import -window root "$E2E_WORK/after.png"
changed=$(compare -metric AE -extract "418x235+$((X + 312))+$((Y + 136))" \
  "$E2E_WORK/before.png" "$E2E_WORK/after.png" null: 2>&1 || true)
[ "$changed" -gt 10000 ] || fail "the preview did not change ($changed pixels)"

click 385 489 # Settings
dialog=$(xdotool search --name "^Settings$" | head -1)
[ -n "$dialog" ] || fail "the settings dialog did not open"
title=$(net_wm_name "$dialog")
[ "$title" = "Settings" ] || fail "the settings dialog is titled '$title', not 'Settings'"
# The dialog's layout follows the machine's fonts, so OK is reached as its default button.
xdotool key Return
sleep 0.5
for key in ImageSize ImageMode Speed Sound Music Transition Duration DirectX DirectXQuality; do
  grep -q "^$key=" "$settings" || fail "OK did not write $key"
done

eval "$(xdotool getwindowgeometry --shell "$window")"
click 679 489 # Close
wait_exit "$config" "configure after Close"
expect_rc 0 "configure"
grep -q "^Index=1" "$settings" || fail "closing did not write Index=1: $(cat "$settings")"
[ ! -e "$XDG_RUNTIME_DIR/waves" ] || fail "configure left the extraction folder"

# The next show takes the single selected picture and the dialog's values.
sed -i 's/^ImageMode=.*/ImageMode=3/' "$settings"
"$saver" /S >"$E2E_WORK/show.out" 2>"$E2E_WORK/show.err" &
show=$!
wait_for_picture "the show after configuring" 800x600+0+0
xdotool key a
wait_exit "$show" "the show after configuring"
expect_rc 0 "the show after configuring"
echo "configure: passed"
