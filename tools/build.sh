# Sourced: configures and builds everything into $BUILD_DIR with the MinGW i686 toolchain.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Absolute: Wine refuses a prefix given by a relative path.
BUILD_DIR="$(realpath -m "${BUILD_DIR:-$ROOT/build}")"
bash "$ROOT/tools/setup.sh"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
