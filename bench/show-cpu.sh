#!/usr/bin/env bash
# How much of one core the running show takes, per demo picture, on the window path (or the
# OpenGL path with --gl): each picture plays alone for 20 seconds on a virtual screen, with
# sound and music off, after 5 seconds to settle. The figure is the process's own user and
# system time from /proc, so the X server's share is not in it. With --hack the show runs as a
# screen-saver daemon's hack, inside a host window covering the screen (-window-id).
#   bench/show-cpu.sh [--gl] [--hack] [WIDTHxHEIGHT]      (default 1920x1080)
set -euo pipefail
cd "$(dirname "$0")/.."
directx=0
hack=0
while :; do
  case "${1:-}" in
  --gl) directx=1; shift ;;
  --hack) hack=1; shift ;;
  *) break ;;
  esac
done
size=${1:-1920x1080}

if [ -z "${ML_SHOW_CPU_INNER:-}" ]; then
  cmake -S . -B build -G Ninja >/dev/null
  cmake --build build >/dev/null
  export ML_SHOW_CPU_INNER=1
  exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp" bash "$0" \
    $([ $directx = 1 ] && echo --gl) $([ $hack = 1 ] && echo --hack) "$size"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
build/tools/mirrorlake-tool demo -o "$work/demo" >/dev/null
build/tools/mirrorlake-tool pack "$work/demo" -o "$work/cpu.scr" >/dev/null
ticks=$(getconf CLK_TCK)
index=0
for picture in $(sed -n '/^\[FileList\]/,/^\[/{s/=1\r\?$//p}' "$work/demo/project.ini"); do
  # The user's own settings pick one picture (image mode 3 with its index).
  printf '[Setting]\r\nDirectX=%s\r\nSound=0\r\nMusic=0\r\nDuration=999\r\nImageMode=3\r\nIndex=%s\r\n' \
    "$directx" "$index" >"$work/cpu.ini"
  if [ $hack = 1 ]; then
    coproc HOST { build/tests/e2e/ml_test_window window "${size%x*}" "${size#*x}"; }
    read -r host <&"${HOST[0]}"
    "$work/cpu.scr" -window-id "$host" 2>/dev/null &
  else
    "$work/cpu.scr" /S 2>/dev/null &
  fi
  pid=$!
  sleep 5
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep 20
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  if [ $hack = 1 ]; then
    kill -TERM "$pid"
    wait "$pid" || true
    echo quit >&"${HOST[1]}"
    wait "$HOST_PID" || true
  else
    xdotool key a
    wait "$pid" || true
  fi
  awk -v t=$((after - before)) -v hz="$ticks" -v p="$picture" \
    'BEGIN { printf "%-20s %5.1f %% of one core\n", p, t * 100 / hz / 20 }'
  index=$((index + 1))
done
