#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the station
# need, when any of them is missing. Needs root (or sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  sox pulseaudio pulseaudio-utils xvfb xauth imagemagick
  dpkg-dev xdotool
  libhamlib-dev libhamlib-utils
  libsndfile1-dev libliquid-dev universal-ctags time
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
