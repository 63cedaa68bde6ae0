# Shared by the end-to-end scripts: a private X display, private folders and small checks.
# Source it first thing; it re-runs the calling script under xvfb-run when needed.
#
# Environment from ctest: ML_BIN (folder of mirrorlake), ML_TOOL (mirrorlake-tool),
# ML_STUDIO (mirrorlake-studio), ML_SOURCE (source root), ML_TEST_WINDOW (the host-window
# helper).

set -euo pipefail

# A script that needs a larger screen sets E2E_SCREEN (WIDTHxHEIGHTxDEPTH) before sourcing.
if [ -z "${ML_E2E_UNDER_XVFB:-}" ]; then
  export ML_E2E_UNDER_XVFB=1
  # The script runs again under a private X server that picks a free display itself
  # (-displayfd). xvfb-run -a chooses the number before the server takes it, so scripts
  # started together could share one server and lose it when the other script ended.
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/ml-xvfb.XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-800x600x24}" -nolisten tcp 3>"$fifo" \
    >"$fifo.log" 2>&1 &
  xvfb=$!
  number=$(head -n 1 <"$fifo" || true)
  rm -f "$fifo"
  [ -n "$number" ] || { echo "FAIL: Xvfb did not start: $(tail -3 "$fifo.log")" >&2; exit 1; }
  set +e
  DISPLAY=:$number bash "$0" "$@"
  status=$?
  kill -0 "$xvfb" 2>/dev/null || echo "Xvfb :$number ended early: $(tail -5 "$fifo.log")" >&2
  [ $status = 0 ] || [ ! -s "$fifo.log" ] || { echo "--- Xvfb :$number:"; tail -n 20 "$fifo.log"; } >&2
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$fifo.log"
  exit $status
fi

: "${ML_BIN:?ML_BIN must name the folder of the mirrorlake program}"
: "${ML_TOOL:?ML_TOOL must name mirrorlake-tool}"

# Everything a run writes stays under one folder of its own, removed at exit.
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/ml-e2e.XXXXXX")
trap 'rm -rf "$E2E_WORK"' EXIT
export XDG_RUNTIME_DIR="$E2E_WORK/run"
export TMPDIR="$E2E_WORK/tmp"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR" "$E2E_WORK/cwd"
cd "$E2E_WORK/cwd"
# Message boxes go to standard error, where the checks read them.
export MIRRORLAKE_MESSAGES=stderr

fail() {
  echo "FAIL: $*" >&2
  # What the programs run so far reported, for a failure seen only on a busy machine.
  local report
  for report in "$E2E_WORK"/*.err; do
    [ -s "$report" ] && { echo "--- $(basename "$report"):"; tail -n 20 "$report"; }
  done >&2
  exit 1
}

# run_saver OUT_PREFIX PROGRAM ARGS...: runs a program, keeping its exit code in $RUN_RC and
# its standard error in OUT_PREFIX.err.
run_saver() {
  local prefix=$1
  shift
  set +e
  timeout 60 "$@" >"$prefix.out" 2>"$prefix.err"
  RUN_RC=$?
  set -e
}

expect_rc() {
  local want=$1 what=$2
  [ "$RUN_RC" -eq "$want" ] || fail "$what: exit code $RUN_RC, expected $want"
}

# expect_text FILE TEXT WHAT: the file holds the text literally.
expect_text() {
  grep -qF -- "$2" "$1" || fail "$3: '$2' not in $(basename "$1"): $(cat "$1")"
}

# expect_no_message FILE WHAT: no message box text (Qt's own diagnostics are allowed).
expect_no_message() {
  local left
  left=$(grep -v -e '^qt\.' -e '^QStandardPaths' "$1" || true)
  [ -z "$left" ] || fail "$2: unexpected output: $left"
}

# net_wm_name WINDOW: the window's title as a window manager shows it (_NET_WM_NAME).
net_wm_name() {
  xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

# make_project DIR [PREVIEW]: a project folder with one picture (the helper's JPEG), an
# interface description with one empty main window and, when named, a preview picture.
make_project() {
  local dir=$1 preview=${2:-}
  mkdir -p "$dir"
  printf '1\r\n2\r\nobject MainWindow: TForm\r\nend\r\n0\r\n0\r\n' >"$dir/ui.wui"
  "$ML_TEST_WINDOW" jpeg "$dir/pic.jpg"
  {
    printf '[FileList]\r\npic.jpg=1\r\n[General]\r\nProductName=Lake\r\n[Default]\r\n[Advance]\r\n'
    [ -n "$preview" ] && printf 'PreviewFile=%s\r\n' "$preview"
    printf '[Build]\r\n[UI]\r\n'
  } >"$dir/project.ini"
  if [ -n "$preview" ]; then
    "$ML_TEST_WINDOW" jpeg "$dir/$preview"
  fi
}

# pack_empty_saver OUT: a saver whose project lists no picture, which pack refuses to build;
# the archive is written here by hand, in the container format the saver reads.
pack_empty_saver() {
  cp "$ML_BIN/mirrorlake" "$1"
  python3 - "$1" <<'PY'
import struct, sys
def container(items):
    marker = bytes((ord(c) + 1) % 256 for c in "{QMRESROURCE}")
    return marker + struct.pack("<i", len(items)) + b"".join(
        struct.pack("<i", len(i)) + i for i in items)
settings = container([b"[FileList]\r\n", b"[General]\r\nProductName=Lake\r\n", b"[UI]\r\n"])
wui = b"1\r\n2\r\nobject MainWindow: TForm\r\nend\r\n0\r\n0\r\n"
with open(sys.argv[1], "ab") as saver:
    saver.write(container([settings, b"", container([]), wui]))
PY
}

# pack_saver DIR OUT: builds a saver from a project folder.
pack_saver() {
  "$ML_TOOL" pack "$1" -o "$2" --saver "$ML_BIN/mirrorlake" >/dev/null ||
    fail "pack of $1 failed"
}

# wait_window TITLE-REGEX: waits up to ten seconds for a window of that title and prints its
# id (nothing when none came).
wait_window() {
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
  done
  echo "$window"
}

# make_water_saver OUT [TOP [SOUND]]: packs a saver of one picture (400 x 300, textured) whose
# rows from TOP (150, the lower half, unless given) are water that moves, stretched over its
# screen, without music, and a configuration window with nothing in it. Without SOUND (a
# WAVE file) it is silent; with it the picture plays that sound over and over.
make_water_saver() {
  local dir=$E2E_WORK/water top=${2:-150} sound=${3:-} on=0
  mkdir -p "$dir"
  printf '1\r\n2\r\nobject MainWindow: TForm\r\nend\r\n0\r\n0\r\n' >"$dir/ui.wui"
  convert -seed 7 -size 400x300 plasma:orange-navy "$dir/lake.png"
  convert -size 400x300 xc:black -fill '#0000FF' -draw "rectangle 0,$top 399,299" "$dir/areas.png"
  printf '[Area1]\r\nAmplitude=6\r\nWaveCount=12\r\nPhaseStep=20\r\nDirection=1\r\nVertical=1\r\n' >"$dir/waves.ini"
  if [ -n "$sound" ]; then
    cp "$sound" "$dir/"
    printf '[Sound1]\r\nPath=%s\r\nMode=0\r\n' "$(basename "$sound")" >>"$dir/waves.ini"
    on=1
  fi
  "$ML_TOOL" make-qmp --image "$dir/lake.png" --areas "$dir/areas.png" --params "$dir/waves.ini" \
    -o "$dir/lake.qmp" >/dev/null
  printf '[FileList]\r\nlake.qmp=1\r\n[General]\r\nProductName=Lake\r\n[Default]\r\nStretch=1\r\nProportional=0\r\nDirectX=0\r\nSound=%s\r\nMusic=0\r\n[Advance]\r\n[Build]\r\n[UI]\r\n' "$on" >"$dir/project.ini"
  pack_saver "$dir" "$1"
}

# start_pulse: a private PulseAudio server whose default sink is a null sink (mlsink) that
# level reads back; it ends with the script.
start_pulse() {
  export HOME=$E2E_WORK/home PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse
  mkdir -p "$HOME"
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --disable-shm=true \
    --load="module-native-protocol-unix" \
    --load="module-null-sink sink_name=mlsink rate=22050" \
    --load="module-always-sink" >"$E2E_WORK/pulse.log" 2>&1 &
  PULSE_PID=$!
  trap 'kill "$PULSE_PID" 2>/dev/null; rm -rf "$E2E_WORK"' EXIT
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || fail "PulseAudio did not start: $(cat "$E2E_WORK/pulse.log")"
  pactl set-default-sink mlsink
}

# level SECONDS: records the null sink for a while and prints the RMS amplitude (0..1).
level() {
  timeout "$1" parec --latency-msec=50 -d mlsink.monitor --format=s16le --rate=22050 --channels=1 \
    >"$E2E_WORK/rec.raw" 2>/dev/null || true
  [ "$(stat -c %s "$E2E_WORK/rec.raw")" -gt 4410 ] || fail "the recording of the sink is empty"
  sox -t raw -r 22050 -e signed -b 16 -c 1 "$E2E_WORK/rec.raw" -n stat 2>&1 |
    awk '/RMS +amplitude/ {print $3}'
}

# changed_pixels A B WxH+X+Y: how many pixels differ between two screenshots in that area.
changed_pixels() {
  compare -metric AE -extract "$3" "$1" "$2" null: 2>&1 || true
}

# shot NAME: a screenshot of the whole screen as NAME.png in the work folder, stored without
# compression (compressing a large screen takes seconds).
shot() {
  import -window root -quality 1 "$E2E_WORK/$1.png" || fail "no screenshot of $DISPLAY"
}

running() { kill -0 "$1" 2>/dev/null; }

# wait_exit PID WHAT [SECONDS]: waits for a program to end (5 seconds unless given) and sets
# RUN_RC to its exit code.
wait_exit() {
  local tenths=$((${3:-5} * 10))
  for _ in $(seq "$tenths"); do running "$1" || break; sleep 0.1; done
  running "$1" && { kill -9 "$1"; fail "$2: did not end"; }
  set +e; wait "$1"; RUN_RC=$?; set -e
}

# One host window at a time, made by the helper and driven through a coprocess; HOST_ID is
# its X11 id.
start_window() {
  coproc HOST { "$ML_TEST_WINDOW" window "$@"; }
  read -r HOST_ID <&"${HOST[0]}"
  [ -n "$HOST_ID" ] || fail "host window helper did not start"
}
host_say() {
  local answer
  echo "$*" >&"${HOST[1]}"
  read -r answer <&"${HOST[0]}"
  [ "$answer" = ok ] || fail "host window: $* -> $answer"
}
stop_window() {
  local pid=$HOST_PID
  echo quit >&"${HOST[1]}"
  wait "$pid" || true
}

# wait_for_picture WHAT WxH+X+Y [TEXTURED]: waits up to five seconds for something other
# than black in that area of the screen; with TEXTURED, for something other than one flat
# colour too (a host window's own background is not the show's picture).
wait_for_picture() {
  local test='mean>0.05'
  [ -n "${3:-}" ] && test='mean>0.05 && standard_deviation>0.02'
  for _ in $(seq 25); do
    shot wait
    [ "$(convert "$E2E_WORK/wait.png" -crop "$2" -format "%[fx:$test]" info:)" = 1 ] && return
    sleep 0.2
  done
  fail "$1: no picture in $2 after five seconds"
}

# wait_for_motion WHAT WxH+X+Y MIN: takes pairs of screenshots (a.png, b.png) half a second
# apart until more than MIN pixels changed in that area between them; fails after ten
# tries. A busy machine may hold the program back for a while, so one pair is not enough.
wait_for_motion() {
  local changed=0
  for _ in $(seq 10); do
    shot a
    sleep 0.5
    shot b
    changed=$(changed_pixels "$E2E_WORK/a.png" "$E2E_WORK/b.png" "$2")
    [ "$changed" -gt "$3" ] && return
  done
  fail "$1: nothing moved in $2 ($changed pixels changed)"
}

# expect_still WHAT WxH+X+Y: two screenshots half a second apart (a.png, b.png) show the same
# pixels in that area. Call it once the program runs steadily (after wait_for_motion), as
# the first frames may still be arriving before.
expect_still() {
  shot a
  sleep 0.5
  shot b
  local changed
  changed=$(changed_pixels "$E2E_WORK/a.png" "$E2E_WORK/b.png" "$2")
  [ "$changed" -eq 0 ] || fail "$1: $changed pixels changed in $2"
}
