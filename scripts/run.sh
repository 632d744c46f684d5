#!/usr/bin/env bash
# Installs what is missing, builds Vidora (without its tests) and starts it from its program
# folder. Arguments go to Vidora: files to add to the job list.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --run
"$top/scripts/build.sh" -DVIDORA_BUILD_TESTS=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Vidora on a virtual X display (xvfb-run)."
  exec xvfb-run -a "$top/build/Vidora/vidora" "$@"
fi
exec "$top/build/Vidora/vidora" "$@"
