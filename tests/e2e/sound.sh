#!/usr/bin/env bash
# The show's sound reaches a real audio server: a private PulseAudio with a null sink is
# recorded while a picture with a looping sound is shown, and is silent after the show. The
# sound is a 24-bit WAVE, which the mixer plays only because pack carries it as 16 bits.
source "$(dirname "$0")/lib.sh"

start_pulse

dir=$E2E_WORK/lake
mkdir -p "$dir"
convert -seed 3 -size 200x150 plasma:green-blue "$dir/lake.png"
convert -size 200x150 xc:black -fill '#0000FF' -draw 'rectangle 0,75 199,149' "$dir/areas.png"
sox -n -r 22050 -c 1 -b 24 "$dir/tone.wav" synth 0.5 sine 440 vol 0.5
printf '[Area1]\r\nAmplitude=4\r\nWaveCount=8\r\nPhaseStep=15\r\nVertical=1\r\n[Sound1]\r\nPath=tone.wav\r\nMode=0\r\n' >"$dir/params.ini"
"$ML_TOOL" make-qmp --image "$dir/lake.png" --areas "$dir/areas.png" --params "$dir/params.ini" \
  -o "$dir/lake.qmp" >/dev/null
printf '[FileList]\r\nlake.qmp=1\r\n[Default]\r\nDirectX=0\r\nMusic=0\r\nSound=1\r\n[Advance]\r\n[Build]\r\n[UI]\r\n' >"$dir/project.ini"
saver=$E2E_WORK/cwd/lake.scr
"$ML_TOOL" pack "$dir" -o "$saver" --saver "$ML_BIN/mirrorlake" 2>"$E2E_WORK/pack.err" >/dev/null ||
  fail "pack: $(cat "$E2E_WORK/pack.err")"
expect_text "$E2E_WORK/pack.err" "tone.wav: played by lake.qmp: it is 24-bit PCM mono WAVE; the saver carries it as 16-bit PCM" "pack of a 24-bit sound"

"$saver" /S >"$E2E_WORK/show.out" 2>"$E2E_WORK/show.err" &
show=$!
sleep 1.5
during=$(level 2)
xdotool key a
wait_exit "$show" "the show"
expect_rc 0 "the show"
sleep 0.5
after=$(level 2)
echo "RMS while showing: $during, after: $after"
awk -v v="$during" 'BEGIN { exit !(v > 0.1) }' || fail "no sound while the show ran ($during)"
awk -v v="$after" 'BEGIN { exit !(v < 0.01) }' || fail "sound after the show ended ($after)"
echo "sound: passed"
