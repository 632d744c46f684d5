#!/usr/bin/env bash
# Installs what is missing, builds Vidora with its tests and runs every test (unit and e2e,
# format check included). Extra arguments go to ctest, for example: scripts/test.sh -L unit
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" -DVIDORA_BUILD_TESTS=ON
cd "$top/build"
ctest --output-on-failure -j 2 --timeout 900 "$@"
