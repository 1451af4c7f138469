#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine.
set -euo pipefail
source "$(dirname "$0")/build.sh"
source "$ROOT/tools/wine-env.sh"
trap zelvor_stop_all EXIT
zelvor_start_display
zelvor_start_wine
cd "$BUILD_DIR"
ctest --output-on-failure -j 1 "$@"
