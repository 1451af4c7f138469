#!/usr/bin/env bash
# Builds the release into dist/: Zelvor-<version>-setup.exe (NSIS) and Zelvor-<version>-win32.zip.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
bash "$ROOT/tools/setup.sh"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
# Only the program, its help file and the package: the tests and benchmarks are not needed for it.
cmake --build "$BUILD_DIR" -j "$(nproc)" --target zelvor_package
mkdir -p "$ROOT/dist"
# The names the build gave this version's files (an older version's may lie beside them).
for name in ZELVOR_SETUP ZELVOR_ZIP; do
    file="$(sed -n "s/^$name:INTERNAL=//p" "$BUILD_DIR/CMakeCache.txt")"
    cp -f "$file" "$ROOT/dist/"
    echo "dist/$(basename "$file")"
done
