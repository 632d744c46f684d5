#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vidora need, when missing.
#   install-deps.sh         everything: build, run, tests and benchmarks
#   install-deps.sh --run   only what building and running the program need
set -euo pipefail

# Building and running. xdg-utils: the desktop's default handlers, through which the program
# opens the output folder and web addresses (without xdg-open both silently do nothing).
packages=(
  cmake ninja-build g++
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libgl-dev
  ffmpeg mplayer
  xvfb xauth xdg-utils
  ca-certificates openssl util-linux
)
# Tests and benchmarks: desktop-file-utils checks the installed desktop entry.
if [ "${1:-}" != "--run" ]; then
  packages+=(
    clang-format libgtest-dev libgmock-dev
    xdotool imagemagick curl desktop-file-utils
  )
fi

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
