# Sourced: configures and builds everything into $BUILD_DIR with the MinGW i686 toolchain (only the target
# ZELVOR_BUILD_TARGET when the sourcing script names one).
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Absolute: Wine refuses a prefix given by a relative path.
BUILD_DIR="$(realpath -m "${BUILD_DIR:-$ROOT/build}")"
bash "$ROOT/tools/setup.sh"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" ${ZELVOR_BUILD_TARGET:+--target "$ZELVOR_BUILD_TARGET"}
