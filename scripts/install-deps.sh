#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vidora need, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang-format
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libgl-dev
  libgtest-dev libgmock-dev
  ffmpeg mplayer
  xvfb xauth xdotool imagemagick
  ca-certificates openssl curl util-linux
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
