#!/usr/bin/env bash
# Builds everything and runs each benchmark under Wine; each prints its figures and ratios.
set -euo pipefail
source "$(dirname "$0")/build.sh"
source "$ROOT/tools/wine-env.sh"
trap zelvor_stop_all EXIT
trap 'echo "bench.sh: \"$BASH_COMMAND\" failed" >&2' ERR
zelvor_start_display
zelvor_start_wine
# The listing benchmark's directories are made here from the Linux side: creating 100,000 files one by
# one through Wine takes most of an hour, since each new name is checked against the whole directory.
make_listing_directory() {
    local count=$1 dir="$WINEPREFIX/drive_c/users/$USER/Temp/bench-$1"
    [ -d "$dir" ] && [ "$(ls -f "$dir" | wc -l)" -ge $((count + 22)) ] && return
    mkdir -p "$dir"
    local exts=(.txt .doc .bin .c .h .dat .log "")
    (cd "$dir" && for ((i = 0; i < count; i++)); do echo "File$i${exts[i % 8]}"; done | xargs touch &&
        for ((i = 0; i < count; i += 6)); do echo "File$i${exts[i % 8]}"; done | xargs truncate -s 1 &&
        for ((i = 3; i < count; i += 6)); do echo "File$i${exts[i % 8]}"; done | xargs truncate -s 4 &&
        for ((i = 0; i < 20; i++)); do mkdir -p "Folder$i"; done)
}
# The Find Files benchmark's tree: 2,000 folders of 50 empty files each.
make_tree_directory() {
    local dir="$WINEPREFIX/drive_c/users/$USER/Temp/bench-tree-2000x50"
    [ -d "$dir/d1999" ] && [ "$(ls -f "$dir/d1999" | wc -l)" -ge 52 ] && return
    mkdir -p "$dir"
    (cd "$dir" && seq -f 'd%g' 0 1999 | xargs mkdir -p &&
        for ((d = 0; d < 2000; d++)); do for ((f = 0; f < 50; f++)); do echo "d$d/f$f.dat"; done; done | xargs touch)
}
USER=${USER:-$(id -un)}
make_listing_directory 10000
make_listing_directory 100000
# Larger folders for bench_startup on demand: BENCH_STARTUP_SIZES="300000 1000000".
for n in ${BENCH_STARTUP_SIZES:-}; do make_listing_directory "$n"; done
make_tree_directory
cd "$BUILD_DIR/bench"
failed=()
for b in bench_*.exe; do
    [ $# -gt 0 ] && [[ " $* " != *" ${b%.exe} "* ]] && continue
    echo "== ${b%.exe}"
    status=0
    wine "./$b" || status=$?
    [ $status -eq 0 ] || { echo "${b%.exe} failed with exit code $status" >&2; failed+=("${b%.exe}"); }
done
[ ${#failed[@]} -eq 0 ] || { echo "Failed: ${failed[*]}" >&2; exit 1; }
