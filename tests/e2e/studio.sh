#!/usr/bin/env bash
# The studio end to end: open a photo, mark its lower third as water with a drag of the
# horizon tool, see the water move there and nowhere else, save the picture file, pack it and
# run the saver's show. A signal closes the studio as the user would, without a question about
# unsaved changes that nobody may be there to answer, and takes its scratch folder along.
E2E_SCREEN=1280x900x24
source "$(dirname "$0")/lib.sh"
: "${ML_STUDIO:?ML_STUDIO must name mirrorlake-studio}"
export XDG_CONFIG_HOME=$E2E_WORK/config

dir=$E2E_WORK/lake
mkdir -p "$dir"
# A textured photo in a frame of a colour found nowhere else, so the shots can find it.
frame='#00FF80'
convert -seed 7 -size 480x270 plasma:orange-navy -bordercolor "$frame" -border 8 "$dir/photo.png"

"$ML_STUDIO" "$dir/photo.png" >"$E2E_WORK/studio.out" 2>"$E2E_WORK/studio.err" &
studio=$!
window=$(wait_window '^photo\.png — Mirrorlake Studio$')
[ -n "$window" ] || fail "no studio window"
sleep 0.5

# Where the picture is on screen: the box around its frame, as W H X Y.
picture_box() {
  local box
  shot open
  box=$(convert "$E2E_WORK/open.png" -fuzz 10% -fill black +opaque "$frame" -fill white \
    -opaque "$frame" -format '%@' info:)
  read -r W H X Y <<<"${box//[x+]/ }"
  [ "$W" -gt 300 ] && [ "$H" -gt 150 ] || fail "the picture is not on screen (${W}x$H)"
}
picture_box

# The horizon tool (H), dragged along the line two thirds down.
line=$((Y + H * 2 / 3))
xdotool windowfocus --sync "$window" mousemove $((X + 30)) $line sleep 0.2 key h
xdotool mousedown 1 mousemove $((X + W / 2)) $line mousemove $((X + W - 30)) $line mouseup 1
sleep 0.5
import -window root "$E2E_WORK/a.png"
sleep 0.3
import -window root "$E2E_WORK/b.png"
# Smoothing on screen reaches a pixel or two across the line.
above=$(compare -metric AE -extract "${W}x$((line - Y - 3))+$X+$Y" "$E2E_WORK/a.png" \
  "$E2E_WORK/b.png" null: 2>&1 || true)
below=$(compare -metric AE -extract "${W}x$((Y + H - line))+$X+$line" "$E2E_WORK/a.png" \
  "$E2E_WORK/b.png" null: 2>&1 || true)
[ "$above" -eq 0 ] || fail "$above pixels changed above the line"
[ "$below" -gt 1000 ] || fail "the water below the line did not move ($below pixels changed)"

# Save: the picture file is offered beside the photo.
xdotool windowfocus --sync "$window" key ctrl+s
[ -n "$(wait_window '^Save the picture file$')" ] || fail "no save dialog"
xdotool key Return
for _ in $(seq 50); do [ -s "$dir/photo.qmp" ] && break; sleep 0.1; done
[ -s "$dir/photo.qmp" ] || fail "the picture file was not saved"
"$ML_TOOL" inspect "$dir/photo.qmp" --json >"$E2E_WORK/inspect.json"
python3 - "$E2E_WORK/inspect.json" <<'PY' || fail "the saved water is not the lower third"
import json, sys
area = json.load(open(sys.argv[1]))["areaMap"]
water, total = area["pixels"]["1"], area["width"] * area["height"]
assert abs(water / total - 1 / 3) < 0.03, (water, total)
PY

xdotool windowfocus --sync "$window" key ctrl+q
wait_exit "$studio" "the studio after Ctrl+Q"
expect_rc 0 "studio quit"

printf '[FileList]\r\nphoto.qmp=1\r\n[General]\r\nProductName=Lake\r\n[Default]\r\nDirectX=0\r\nSound=0\r\nMusic=0\r\n' >"$dir/project.ini"
pack_saver "$dir" "$E2E_WORK/lake.scr"
"$E2E_WORK/lake.scr" /S >"$E2E_WORK/show.out" 2>"$E2E_WORK/show.err" &
show=$!
wait_for_picture "the saver" 800x600+0+0
xdotool key a
wait_exit "$show" "the saver's show"
expect_rc 0 "the saver's show"
expect_no_message "$E2E_WORK/show.err" "the saver's show"

# Trying the show with music on takes the scratch folder (the music is looked for there).
sed -i 's/^Music=0\r$/Music=1\r\n[Advance]\r\nMusicFile=tune.mp3\r/' "$dir/project.ini"
"$ML_STUDIO" "$dir/photo.qmp" >"$E2E_WORK/studio.out" 2>"$E2E_WORK/studio.err" &
studio=$!
window=$(wait_window '^photo\.qmp — Mirrorlake Studio$')
[ -n "$window" ] || fail "no studio window for the picture file"
xdotool windowfocus --sync "$window" key F5
[ -n "$(wait_window '^Try the show')" ] || fail "no show to try: $(cat "$E2E_WORK/studio.err")"
[ -d "$XDG_RUNTIME_DIR/mirrorlake-studio" ] || fail "trying the show took no scratch folder"
# An unsaved change: the horizon tool clicked in the middle of what shows of the picture (its
# water is tinted) takes everything below. The show's window stays open, under the studio.
saved=$(md5sum <"$dir/photo.qmp")
xdotool windowraise "$window"
sleep 0.3
picture_box
xdotool windowfocus --sync "$window" mousemove $((X + W / 2)) $((Y + H / 2)) sleep 0.2 key h \
  click 1
[ -n "$(wait_window '^photo\.qmp\* — Mirrorlake Studio$')" ] || fail "the click changed nothing"
kill -TERM "$studio"
wait_exit "$studio" "the studio after SIGTERM"
expect_rc 0 "the studio after SIGTERM"
expect_text "$E2E_WORK/studio.err" "The picture photo.qmp had changes that were not saved" \
  "the studio after SIGTERM"
[ "$(md5sum <"$dir/photo.qmp")" = "$saved" ] || fail "SIGTERM wrote the picture file"
[ ! -e "$XDG_RUNTIME_DIR/mirrorlake-studio" ] || fail "SIGTERM left the scratch folder behind"
echo "studio: ok"
