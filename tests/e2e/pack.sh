#!/usr/bin/env bash
# pack checks what the saver will read: each bad project is refused with its message and no
# file appears; a project without a window description gets the default window, which /C
# opens.
source "$(dirname "$0")/lib.sh"

dir=$E2E_WORK/lake
mkdir -p "$dir"
convert -seed 5 -size 160x120 plasma:navy-teal "$dir/lake.png"
convert -size 160x120 xc:black -fill '#0000FF' -draw 'rectangle 0,60 159,119' "$dir/areas.png"
sox -n -r 22050 -c 1 -b 16 "$dir/surf.wav" synth 0.2 sine 300
printf '[Area1]\r\nAmplitude=3\r\nWaveCount=6\r\nVertical=1\r\n[Sound1]\r\nPath=surf.wav\r\n' >"$dir/params.ini"
"$ML_TOOL" make-qmp --image "$dir/lake.png" --areas "$dir/areas.png" --params "$dir/params.ini" \
  -o "$dir/lake.qmp" >/dev/null
# write_ini [FILELIST-LINES [DEFAULT-LINES [MORE-SECTIONS]]]: project.ini of the folder.
write_ini() {
  printf '[FileList]\r\nlake.qmp=1\r\n%b[General]\r\nProductName=Pack Test Lake\r\nPublisher=E2E\r\n[Default]\r\nDirectX=0\r\n%b%b' \
    "${1:-}" "${2:-}" "${3:-}" >"$dir/project.ini"
}

# refused WHAT MESSAGE: pack of the folder as it is now fails with the message, writes nothing.
refused() {
  set +e
  "$ML_TOOL" pack "$dir" -o "$E2E_WORK/cwd/bad.scr" --saver "$ML_BIN/mirrorlake" >out.txt 2>err.txt
  RUN_RC=$?
  set -e
  expect_rc 1 "$1"
  expect_text err.txt "$2" "$1"
  expect_text err.txt "bad.scr not written" "$1"
  [ -z "$(ls "$E2E_WORK/cwd" | grep bad.scr)" ] || fail "$1: pack left $(ls "$E2E_WORK/cwd")"
}

write_ini 'lake.png=1\r\n'
refused "a PNG in the show" "lake.png: [FileList] lake.png: it is a PNG"
write_ini '' '' '[Advance]\r\nPreviewFile=lake.png\r\n'
refused "a PNG preview" "[Advance] PreviewFile: it is a PNG"
write_ini '' 'Duraton=5\r\n' '[Wheather]\r\n'
refused "a misspelt key" "Duraton is not a known key — did you mean Duration?"
refused "an unknown section" "[Wheather] is not a known section"
write_ini '' 'Duration=0\r\n'
refused "a value out of range" "Duration: '0' is not a number from 1 to 999"
printf '[FileList]\r\n' >"$dir/project.ini"
refused "no picture" "names no picture"
write_ini
mv "$dir/surf.wav" "$dir/surf.ogg.wav"
printf 'OggS' >"$dir/surf.wav"
refused "an Ogg sound" "surf.wav: played by lake.qmp: it is an Ogg file"
rm "$dir/surf.wav"
refused "a missing sound" "lake.qmp: sound surf.wav: the picture plays it, but it is not in"
mv "$dir/surf.ogg.wav" "$dir/surf.wav"
printf '0\r\n' >"$dir/ui.wui"
refused "a window description without MainWindow" "it holds no window named MainWindow"
rm "$dir/ui.wui"

# Without a description of its own the saver carries the default window with the project's
# texts; /C opens it.
pack_saver "$dir" "$E2E_WORK/cwd/lake.scr"
"$E2E_WORK/cwd/lake.scr" /C >config.out 2>config.err &
config=$!
window=$(wait_window "^Pack Test Lake$")
[ -n "$window" ] || fail "/C opened no window: $(cat config.err)"
eval "$(xdotool getwindowgeometry --shell "$window")"
# The header band is dark blue, the body light: looked for until the window has painted.
pixel() { convert "$E2E_WORK/config.png" -format "%[hex:p{$((X + $1)),$((Y + $2))}]" info:; }
for _ in $(seq 20); do
  sleep 0.5
  import -window root "$E2E_WORK/config.png"
  [ "$(pixel 10 10)" = 112B44 ] && [ "$(pixel 10 100)" = F1F4F7 ] && break
done
cp "$E2E_WORK/config.png" "${ML_SCREENSHOTS:-$E2E_WORK}/pack-default-window.png" 2>/dev/null || true
[ "$(pixel 10 10)" = 112B44 ] || fail "no header at the top of the window: $(pixel 10 10)"
[ "$(pixel 10 100)" = F1F4F7 ] || fail "no light body under the header: $(pixel 10 100)"
expect_no_message config.err "/C of the default window"
xdotool mousemove $((X + 679)) $((Y + 489)) click 1 # Close
wait_exit "$config" "Close of the default window"
[ ! -e "$XDG_RUNTIME_DIR/lake" ] || fail "/C left the extraction folder"
echo "pack: all checks passed"
