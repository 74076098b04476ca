#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Sondrel
# needs; does nothing when they are all present.
set -euo pipefail

packages=(
  # Winelib toolchain and the Wine that runs the program
  wine64 wine64-tools libwine-dev g++ cmake ninja-build pkg-config
  # lld-link: resource-only language DLLs
  lld
  # native libraries linked into the program and the engine
  zlib1g-dev libpng-dev libminizip-dev libvidstab-dev libpulse-dev
  libavcodec-dev libavformat-dev libavutil-dev libswresample-dev
  libopencore-amrnb-dev libvo-amrwbenc-dev
  # test harness: display, sound server, probes, GoogleTest, benchmarks
  xvfb xauth x11-utils pulseaudio pulseaudio-utils ffmpeg
  googletest libbenchmark-dev
  # the main-road test: real input, screenshots and their pixels
  xdotool x11-apps imagemagick
  # the check that the colour schemes' generator reproduces its output
  python3
  # the house format check
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
