#!/usr/bin/env bash
# How much of one core the running show takes, per demo picture, on a virtual screen, beside
# a peer measured in the same run: XScreenSaver's `ripples` on the same dusk-lake picture
# (before and after the show's rows; skipped with a note when it is not installed).
#
# Each picture plays alone for 20 seconds with sound and music off, after 5 seconds to
# settle. The figure is the process's own user and system time from /proc; the X server's
# time over the same window is shown beside it, as what the process asks of the server (its
# requests, the pixels it puts) costs there. RSS is the resident memory at the end.
#
#   bench/show-cpu.sh [--gl] [--hack] [--only NAME] [WIDTHxHEIGHT]   (default 1920x1080)
#
#   --gl        the OpenGL path: as a user gets it (DirectX on; on a software renderer it
#               falls back to the window path), and forced on with MIRRORLAKE_GL=force at the
#               normal working size (800x600) and at the screen's own (DirectXQuality=3)
#   --hack      the show as a screen-saver daemon's hack, inside a host window covering the
#               screen (-window-id)
#   --only NAME one demo picture only, e.g. --only dusk-lake
set -euo pipefail
cd "$(dirname "$0")/.."
args=("$@")
gl=0
hack=0
only=""
size=1920x1080
while [ $# -gt 0 ]; do
  case "$1" in
    --gl) gl=1 ;;
    --hack) hack=1 ;;
    --only) only=$2; shift ;;
    *x*) size=$1 ;;
    *) echo "usage: bench/show-cpu.sh [--gl] [--hack] [--only NAME] [WIDTHxHEIGHT]" >&2; exit 2 ;;
  esac
  shift
done
settle=5
seconds=20

if [ -z "${ML_SHOW_CPU_INNER:-}" ]; then
  cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-rel >/dev/null
  export ML_SHOW_CPU_INNER=1
  exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp" bash "$0" "${args[@]}"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run TMPDIR=$work
mkdir -m 700 "$XDG_RUNTIME_DIR"
build-rel/tools/mirrorlake-tool demo -o "$work/demo" >/dev/null
build-rel/tools/mirrorlake-tool pack "$work/demo" -o "$work/cpu.scr" >/dev/null
ticks=$(getconf CLK_TCK)

# The virtual screen's server: the Xvfb whose arguments name our display.
server=""
for p in $(pgrep -x Xvfb); do
  if tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | grep -qx -- "$DISPLAY"; then server=$p; fi
done

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Prints "<cpu percent> <rss MB> <X server cpu percent>" of a process over the measuring window.
measure() {
  local pid=$1 before after rss xbefore=0 xafter=0
  sleep "$settle"
  before=$(cpu_ticks "$pid")
  [ -n "$server" ] && xbefore=$(cpu_ticks "$server")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  [ -n "$server" ] && xafter=$(cpu_ticks "$server")
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  awk -v t=$((after - before)) -v x=$((xafter - xbefore)) -v hz="$ticks" -v s="$seconds" \
    -v r="$rss" -v known="${server:+1}" \
    'BEGIN { printf "%5.1f %% of one core  %4d MB RSS", t * 100 / hz / s, r / 1024
             if (known) printf "   X server %5.1f %%", x * 100 / hz / s }'
}

row() { printf '%-44s %s\n' "$1" "$2"; }

ripples=/usr/libexec/xscreensaver/ripples
peer() {
  if [ ! -x "$ripples" ]; then
    row "ripples (peer)" "skipped: $ripples not installed (xscreensaver-data-extra)"
    return
  fi
  # The peer ripples what the screen shows: the dusk lake as the show places it.
  build-rel/tools/mirrorlake-tool render "$work/demo/dusk-lake.qmp" -o "$work/lake.png" \
    --size "$size" --keep-aspect >/dev/null
  display -window root -backdrop -background black "$work/lake.png" 2>/dev/null &
  local setter=$!
  sleep 1
  kill "$setter" 2>/dev/null || true
  wait "$setter" 2>/dev/null || true
  "$ripples" -root 2>/dev/null &
  local pid=$!
  pids+=("$pid")
  row "ripples (peer), dusk lake" "$(measure "$pid")"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

show() {
  local label=$1 directx=$2 index=$3 quality=${4:-1}
  # The user's own settings pick one picture (image mode 3 with its index).
  printf '[Setting]\r\nDirectX=%s\r\nDirectXQuality=%s\r\nSound=0\r\nMusic=0\r\nDuration=999\r\nImageMode=3\r\nIndex=%s\r\n' \
    "$directx" "$quality" "$index" >"$work/cpu.ini"
  if [ $hack = 1 ]; then
    coproc HOST { build-rel/tests/e2e/ml_test_window window "${size%x*}" "${size#*x}"; }
    local host
    read -r host <&"${HOST[0]}"
    "$work/cpu.scr" -window-id "$host" 2>"$work/stderr" &
  else
    "$work/cpu.scr" /S 2>"$work/stderr" &
  fi
  local pid=$!
  pids+=("$pid")
  row "$label" "$(measure "$pid")"
  if [ $hack = 1 ]; then
    kill -TERM "$pid"
    wait "$pid" || true
    echo quit >&"${HOST[1]}"
    wait "$HOST_PID" || true
  else
    xdotool key a
    wait "$pid" || true
  fi
  sed 's/^/    stderr: /' "$work/stderr"
}

peer
index=0
for picture in $(sed -n '/^\[FileList\]/,/^\[/{s/=1\r\?$//p}' "$work/demo/project.ini"); do
  name=${picture%.*}
  if [ -z "$only" ] || [ "$only" = "$name" ]; then
    show "window path, $name" 0 "$index"
    if [ $gl = 1 ]; then
      show "OpenGL as set (DirectX=1), $name" 1 "$index"
      MIRRORLAKE_GL=force show "OpenGL forced, $name" 1 "$index"
      MIRRORLAKE_GL=force show "OpenGL forced, screen size, $name" 1 "$index" 3
    fi
  fi
  index=$((index + 1))
done
peer
