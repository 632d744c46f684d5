#!/usr/bin/env bash
# Installs what is missing, builds Vidora and starts it from its program folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Vidora on a virtual X display (xvfb-run)."
  exec xvfb-run -a "$top/build/Vidora/vidora"
fi
exec "$top/build/Vidora/vidora"
