#!/usr/bin/env bash
# Configures and builds one of the project's builds:
#   tools/build.sh windows   the program and its tests, cross-compiled (build/windows)
#   tools/build.sh native    the core and its tests, warnings as errors (build/native)
#   tools/build.sh sanitize  the same with ASan and UBSan (build/sanitize)
#   tools/build.sh release   the command line optimized, without the tests, for the packages (build/release)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:?windows, native, sanitize or release}
jobs=$(nproc 2>/dev/null || echo 2)

case "$kind" in
    windows)  args=(-DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
    native)   args=(-DPAKORDER_WERROR=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    sanitize) args=(-DPAKORDER_WERROR=ON -DPAKORDER_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    release)  args=(-DPAKORDER_WERROR=ON -DPAKORDER_TESTS=OFF -DCMAKE_BUILD_TYPE=Release) ;;
    *) echo "unknown build: $kind" >&2; exit 2 ;;
esac
# A configure that fails (a compiler not yet installed) leaves a cache with
# empty flags behind: it is removed, so that the next run starts afresh.
if ! cmake --no-warn-unused-cli -S "$repo" -B "$repo/build/$kind" "${args[@]}" >/dev/null; then
    rm -f "$repo/build/$kind/CMakeCache.txt"
    exit 1
fi
cmake --build "$repo/build/$kind" -j"$jobs"
