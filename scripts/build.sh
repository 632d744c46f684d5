#!/usr/bin/env bash
# Configures and builds Vidora into build/; the program folder is build/Vidora/. Warnings are
# errors here. Extra arguments go to the configuration, for example -DVIDORA_BUILD_TESTS=OFF.
# Uses ccache when it is installed, so rebuilds of unchanged files are quick.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVIDORA_WARNINGS_AS_ERRORS=ON "${launcher[@]}" "$@" >/dev/null
cmake --build "$top/build" -j "$(nproc)"
