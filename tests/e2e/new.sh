#!/usr/bin/env bash
# From pictures to a saver with nothing but new and pack: the show plays the pictures in
# the order given, one after the other.
source "$(dirname "$0")/lib.sh"

# A red PNG (stored as JPEG by new) and a blue JPEG named .jpeg (stored as .jpg).
convert -size 320x240 gradient:'#D02020-#801010' "$E2E_WORK/red.png"
convert -size 320x240 gradient:'#2040D0-#102080' "$E2E_WORK/blue.jpeg"
"$ML_TOOL" new "$E2E_WORK/show" "$E2E_WORK/red.png" "$E2E_WORK/blue.jpeg" --name "New Show" \
  >new.out 2>new.err || fail "new: $(cat new.err)"
expect_text new.err "stored as JPEG in red.jpg" "new of a PNG"
for file in red.jpg blue.jpg preview.jpg ui.wui project.ini; do
  [ -f "$E2E_WORK/show/$file" ] || fail "new did not write $file"
done
# A short duration, so that the test sees the second picture come.
sed -i 's/^Duration=20/Duration=2/' "$E2E_WORK/show/project.ini"
pack_saver "$E2E_WORK/show" "$E2E_WORK/cwd/show.scr"

"$E2E_WORK/cwd/show.scr" /S >show.out 2>show.err &
show=$!
# colour_at_centre: "red", "blue" or what the screen's centre shows.
colour_at_centre() {
  import -window root "$E2E_WORK/shot.png"
  convert "$E2E_WORK/shot.png" -format '%[fx:p{400,300}.r>p{400,300}.b+0.2 ? 1 : p{400,300}.b>p{400,300}.r+0.2 ? 2 : 0]' info: |
    sed 's/^1$/red/; s/^2$/blue/'
}
seen=""
for _ in $(seq 40); do
  sleep 0.25
  colour=$(colour_at_centre)
  # Black before the first picture and blends during the crossfade are neither.
  [ "$colour" = 0 ] || [ "${seen##* }" = "$colour" ] || seen="$seen $colour"
  case "$seen" in *red*blue) break ;; esac
done
xdotool key a
wait_exit "$show" "the show"
# The first picture first, then the second.
case "$seen" in " red"*blue) ;; *) fail "the show went '$seen', not red then blue: $(cat show.err)" ;; esac
echo "new: passed"
