#!/usr/bin/env bash
# How long a saver takes from launch to its first painted frame, on a virtual screen, for the
# demo saver and for a saver of one 12-megapixel photo (4000 x 3000, made here, stored whole
# by make-qmp), with the launch of a plain X client measured in the same run as the floor.
#
# The saver reports the moment it put its first frame on the screen when MIRRORLAKE_FIRST_FRAME
# is set; the figure is that moment minus the moment just before the launch. Every saver is
# launched several times; the median and the fastest are given (the machine is shared). The
# user's settings pick one picture (the dusk lake of the demo), stretched keeping its shape,
# sound and music off. The environment reaches the savers unchanged, so that for instance
# MIRRORLAKE_GL=force bench/first-frame.sh --directx times the OpenGL path forced on.
#
#   bench/first-frame.sh [--directx] [--runs N] [--against PROGRAM] [WIDTHxHEIGHT]
#                                                        (default 1920x1080, 9 runs)
#
#   --directx   the user's settings ask for the hardware path (DirectX=1) instead of the
#               plain window
#   --against   also pack the 12-megapixel saver with another mirrorlake program (one built
#               from an earlier commit, say) and time it in the same loop, so that a change
#               is measured beside what it replaces under the same load
set -euo pipefail
directx=0
runs=9
against=""
size=1920x1080
while [ $# -gt 0 ]; do
  case "$1" in
    --directx) directx=1 ;;
    --runs) runs=$2; shift ;;
    --against) against=$(realpath "$2"); shift ;;
    *x*) size=$1 ;;
    *) echo "usage: bench/first-frame.sh [--directx] [--runs N] [--against PROGRAM] [WIDTHxHEIGHT]" >&2
       exit 2 ;;
  esac
  shift
done
# The run on the virtual screen gets the options again, with the program's path made absolute.
args=(--runs "$runs" "$size")
[ $directx = 1 ] && args+=(--directx)
[ -n "$against" ] && args+=(--against "$against")
cd "$(dirname "$0")/.."

if [ -z "${ML_FIRST_FRAME_INNER:-}" ]; then
  cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-rel >/dev/null
  export ML_FIRST_FRAME_INNER=1
  # -noreset: a desktop's X server keeps running between clients (its window manager and
  # the screen-saver daemon stay connected); without it Xvfb starts over whenever the last
  # client leaves, and every launch would wait for that.
  exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp -noreset" bash "$0" "${args[@]}"
fi

tool=build-rel/tools/mirrorlake-tool
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run TMPDIR=$work MIRRORLAKE_MESSAGES=stderr
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The demo saver.
"$tool" demo -o "$work/demo" >/dev/null
"$tool" pack "$work/demo" -o "$work/demo.scr" >/dev/null
lake=$(sed -n '/^\[FileList\]/,/^\[/{s/=1\r\?$//p}' "$work/demo/project.ini" | grep -n '^dusk-lake\.' |
  cut -d: -f1)

# A photo-like 12-megapixel picture: smooth sky and land with fine grain, as a camera gives,
# water over its lower two fifths with rain.
convert -size 4000x3000 -seed 15 plasma:steelblue-darkolivegreen -attenuate 0.4 \
  +noise Gaussian "$work/photo.png"
convert -size 4000x3000 xc:black -fill '#0000FF' -draw 'rectangle 0,1800 3999,2999' \
  "$work/mask.png"
printf '[Area1]\nAmplitude=8\nWaveCount=20\nPhaseStep=10\nVertical=1\nPerspective=1\nJitterRange=3\n[Weather]\nKind=2\nCount=400\n' \
  >"$work/photo.ini"
"$tool" make-qmp --image "$work/photo.png" --areas "$work/mask.png" --params "$work/photo.ini" \
  -o "$work/photo.qmp" >/dev/null
"$tool" new "$work/big" "$work/photo.qmp" >/dev/null
"$tool" pack "$work/big" -o "$work/big.scr" >/dev/null
if [ -n "$against" ]; then
  "$tool" pack "$work/big" -o "$work/against.scr" --saver "$against" >/dev/null
fi

now() { date +%s%6N; }

# Prints the milliseconds from launch to the first frame of one run of a saver. Its standard
# error comes through a pipe that is read line by line as it arrives, so nothing polls beside
# the saver for the machine's two cores; everything it wrote is kept for a failure report.
first_frame() {
  local saver=$1 index=$2 start line="" text
  printf '[Setting]\r\nDirectX=%s\r\nSound=0\r\nMusic=0\r\nImageSize=2\r\nImageMode=3\r\nIndex=%s\r\n' \
    "$directx" "$index" >"${saver%.scr}.ini"
  : >"$work/stderr"
  rm -f "$work/errors"
  mkfifo "$work/errors"
  start=$(now)
  MIRRORLAKE_FIRST_FRAME=1 "$saver" /S 2>"$work/errors" &
  pid=$!
  exec {errors}<"$work/errors"
  while IFS= read -r -t 10 -u "$errors" text; do
    echo "$text" >>"$work/stderr"
    case "$text" in "first frame at"*) line=$text; break ;; esac
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exec {errors}<&-
  pid=""
  if [ -z "$line" ]; then
    echo "no first frame from $saver:" >&2
    cat "$work/stderr" >&2
    exit 1
  fi
  awk -v t="$(echo "$line" | awk '{print $4}')" -v s="$start" 'BEGIN { printf "%.1f\n", (t - s) / 1000 }'
}

# Launch to exit of a small X client: what starting any program on this display costs.
client() {
  local start end
  start=$(now)
  xdotool getdisplaygeometry >/dev/null
  end=$(now)
  awk -v e="$end" -v s="$start" 'BEGIN { printf "%.1f\n", (e - s) / 1000 }'
}

# Prints "median ms  fastest ms" of the figures on stdin.
summary() {
  sort -g | awk '{ v[NR] = $1 } END { printf "median %6.1f ms   fastest %6.1f ms", v[int((NR + 1) / 2)], v[1] }'
}

row() { printf '%-44s %s\n' "$1" "$2"; }

# One launch of each first, unmeasured, so that every measured one finds the files cached.
first_frame "$work/demo.scr" $((lake - 1)) >/dev/null
first_frame "$work/big.scr" 0 >/dev/null
if [ -n "$against" ]; then first_frame "$work/against.scr" 0 >/dev/null; fi
demo=() big=() x=() other=()
for _ in $(seq "$runs"); do
  x+=("$(client)")
  demo+=("$(first_frame "$work/demo.scr" $((lake - 1)))")
  big+=("$(first_frame "$work/big.scr" 0)")
  if [ -n "$against" ]; then other+=("$(first_frame "$work/against.scr" 0)"); fi
done
path="window path"
[ $directx = 1 ] && path="DirectX=1${MIRRORLAKE_GL:+, MIRRORLAKE_GL=$MIRRORLAKE_GL}"
echo "launch to first painted frame, $size, $path, $runs runs"
row "X client launch to exit (floor)" "$(printf '%s\n' "${x[@]}" | summary)"
row "demo saver, dusk lake" "$(printf '%s\n' "${demo[@]}" | summary)"
row "12-megapixel picture file" "$(printf '%s\n' "${big[@]}" | summary)"
if [ -n "$against" ]; then
  row "12-megapixel, $(basename "$against")" "$(printf '%s\n' "${other[@]}" | summary)"
fi
