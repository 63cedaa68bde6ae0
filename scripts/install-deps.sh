#!/usr/bin/env bash
# Installs every Debian package the build, tests, e2e tests, benchmarks and fuzzers need.
# Idempotent: packages already present are left alone, and apt is only asked when one is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6opengl6-dev libgl-dev
  qt6-qpa-plugins libqt6multimedia6 qml6-module-qtmultimedia
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
  libjpeg62-turbo-dev libx11-dev
  xvfb xauth xdotool x11-apps x11-utils imagemagick python3
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  pulseaudio pulseaudio-utils sox
  mesa-utils libgl1-mesa-dri libegl1
  xscreensaver-data-extra
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
