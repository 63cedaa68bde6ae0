#!/usr/bin/env bash
# The OpenGL path on a 16:9 screen with a software renderer (Xvfb's llvmpipe): as a user gets
# it, the show says in one line that it uses the window instead and does so; forced on, it
# shows a 4:3 picture between black bars with its water moving, and after the first frame
# sends the graphics card only the rows the water changes.
E2E_SCREEN=1280x720x24
source "$(dirname "$0")/lib.sh"

# A 4:3 picture whose bottom quarter is water.
saver=$E2E_WORK/cwd/lake.scr
make_water_saver "$saver" 225
# The user chose the OpenGL path and proportional stretch: the picture takes 960 x 720 in the
# middle of the screen, with 160 black columns on either side.
printf '[Setting]\r\nDirectX=1\r\nImageSize=2\r\n' >"$E2E_WORK/cwd/lake.ini"
uploads=$E2E_WORK/uploads

show() {
  MIRRORLAKE_GL_UPLOAD_LOG=$uploads "$saver" /S >"$E2E_WORK/show.out" 2>"$E2E_WORK/show.err" &
  SHOW_PID=$!
  wait_for_picture "$1" 960x720+160+0
}
quit() {
  xdotool key a
  wait_exit "$SHOW_PID" "$1"
  expect_rc 0 "$1"
}

show "software renderer"
wait_for_motion "software renderer: the water" 900x170+190+545 500
quit "software renderer"
lines=$(grep -c . "$E2E_WORK/show.err" || true)
[ "$lines" = 1 ] || fail "software renderer: $lines lines on stderr: $(cat "$E2E_WORK/show.err")"
expect_text "$E2E_WORK/show.err" "renders in software" "software renderer"
[ ! -s "$uploads" ] || fail "software renderer: frames went to OpenGL"

export MIRRORLAKE_GL=force
show "forced OpenGL"
wait_for_motion "forced OpenGL: the water" 900x170+190+545 500
expect_still "forced OpenGL: above the water" 900x500+190+10
cp "$E2E_WORK/b.png" "$E2E_WORK/gl.png"
for bar in 160x720+0+0 160x720+1120+0; do
  [ "$(convert "$E2E_WORK/gl.png" -crop "$bar" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" = 0 ] ||
    fail "forced OpenGL: the bar $bar is not black"
done
# Both sides of the picture reach its edges: no bar inside it.
for edge in 4x720+160+0 4x720+1116+0; do
  [ "$(convert "$E2E_WORK/gl.png" -crop "$edge" -format '%[fx:mean>0.05]' info:)" = 1 ] ||
    fail "forced OpenGL: no picture at $edge"
done
quit "forced OpenGL"
expect_no_message "$E2E_WORK/show.err" "forced OpenGL"
# The picture is worked at 800 x 600; its first frame goes whole, the steady ones carry the
# water's quarter and the rows its waves reach above.
full=$((800 * 600 * 4))
[ "$(head -1 "$uploads")" = "$full" ] || fail "forced OpenGL: first upload $(head -1 "$uploads")"
frames=$(tail -n +10 "$uploads" | wc -l)
[ "$frames" -gt 20 ] || fail "forced OpenGL: only $frames steady frames"
largest=$(tail -n +10 "$uploads" | sort -n | tail -1)
[ "$largest" -gt 0 ] && [ "$largest" -lt $((full * 35 / 100)) ] ||
  fail "forced OpenGL: a steady frame sent $largest bytes of $full"
echo "gl: fallback, bars, water and partial uploads passed ($largest of $full bytes per frame)"
