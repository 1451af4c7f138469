#!/usr/bin/env bash
# Builds everything and runs each benchmark under Wine; each prints its figures and ratios.
set -euo pipefail
source "$(dirname "$0")/build.sh"
source "$ROOT/tools/wine-env.sh"
trap zelvor_stop_all EXIT
zelvor_start_display
zelvor_start_wine
cd "$BUILD_DIR/bench"
for b in bench_*.exe; do
    [ $# -gt 0 ] && [[ " $* " != *" ${b%.exe} "* ]] && continue
    echo "== ${b%.exe}"
    wine "./$b"
done
