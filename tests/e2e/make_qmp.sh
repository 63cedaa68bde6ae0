#!/bin/bash
# make-qmp end to end: pictures written here by hand as BMP files, a parameter file, the
# picture file inspected back; bad input fails without leaving an output file.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export QT_QPA_PLATFORM=offscreen MIRRORLAKE_MESSAGES=stderr XDG_RUNTIME_DIR="$work"

# write_bmp FILE W H PYTHON-EXPRESSION-OF-x,y-GIVING-0xRRGGBB
write_bmp() {
    python3 - "$@" <<'PY'
import struct, sys
path, w, h, expr = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
stride = (w * 3 + 3) // 4 * 4
rows = b""
for y in reversed(range(h)):
    row = b"".join(struct.pack("<I", eval(expr, {"x": x, "y": y}))[:3] for x in range(w))
    rows += row + b"\0" * (stride - len(row))
header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 0, 0, 0, 0)
open(path, "wb").write(header + info + rows)
PY
}

fail() { echo "FAIL: $*" >&2; exit 1; }

write_bmp pic.bmp 16 12 '(x * 16) << 16 | (y * 20)'
# Rows 0-5 dry, 6-8 area 1 (blue), 9-11 area 4 (yellow).
write_bmp mask.bmp 16 12 '0 if y < 6 else 0x0000FF if y < 9 else 0xFFFF00'
cat > params.ini <<'INI'
[Area1]
Amplitude=6
WaveCount=17
Vertical=1
[Weather]
Kind=1
Count=250
[Sound1]
Path=sounds/surf.wav
Mode=2
MinSeconds=7
INI

"$ML_TOOL" make-qmp --image pic.bmp --areas mask.bmp --params params.ini --title "Test lake" \
    -o lake.qmp >/dev/null || fail "make-qmp"
"$ML_TOOL" inspect lake.qmp --json >lake.json || fail "inspect --json"
for expected in '"title": "Test lake"' '"width": 16' '"Amplitude": 6' '"Count": 250' \
    '"Path": "sounds/surf.wav"' '"soundsInUse": 1' '"covered": 192' '"1": 48' '"4": 48'; do
    grep -qF "$expected" lake.json || fail "inspect lacks $expected"
done
"$ML_TOOL" inspect lake.qmp | grep -q "Thumbnail: .* 80 x 60" || fail "thumbnail not 80 x 60"

write_bmp small.bmp 8 12 '0'
if "$ML_TOOL" make-qmp --image pic.bmp --areas small.bmp --params params.ini -o bad.qmp \
    2>err.txt; then fail "a mask of another size was accepted"; fi
grep -q "must be the picture's size" err.txt || fail "size message: $(cat err.txt)"
printf '[Area1]\nAmplitud=3\n' >typo.ini
if "$ML_TOOL" make-qmp --image pic.bmp --areas mask.bmp --params typo.ini -o bad.qmp \
    2>err.txt; then fail "an unknown key was accepted"; fi
grep -q "Amplitud is not a known key" err.txt || fail "key message: $(cat err.txt)"
[ ! -e bad.qmp ] || fail "a failed run left bad.qmp behind"

# The mask report: pixels per area, and a warning for a mask saved as JPEG but none for a
# clean one.
"$ML_TOOL" make-qmp --image pic.bmp --areas mask.bmp --params params.ini -o clean.qmp \
    >out.txt 2>err.txt || fail "make-qmp with a clean mask"
grep -q "area 1 (blue #0000FF): 48 pixels (25.0 %)" out.txt || fail "area report: $(cat out.txt)"
grep -q "warning" err.txt && fail "a clean mask was warned about: $(cat err.txt)"
write_bmp big.bmp 64 48 '(x * 4) << 16 | (y * 5)'
write_bmp bigmask.bmp 64 48 '0 if y < 24 else 0x0000FF'
convert bigmask.bmp -quality 75 bigmask.jpg
"$ML_TOOL" make-qmp --image big.bmp --areas bigmask.jpg --params params.ini -o jpeg.qmp \
    >out.txt 2>err.txt || fail "make-qmp with a JPEG mask"
grep -q "warning: bigmask.jpg: .* pixels are within a few steps of an area colour" err.txt ||
    fail "no warning for a JPEG mask: $(cat err.txt)"
grep -q "save the mask as PNG or BMP, never as JPEG" err.txt || fail "no advice: $(cat err.txt)"
ls | grep -q '\.part-' && fail "a failed run left a part file behind"
echo OK
