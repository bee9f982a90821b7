#!/usr/bin/env bash
# Configures (once) and builds one of the three builds:
#   scripts/build.sh native|asan|windows [TARGET...]
# Build folders: build/native, build/asan, build/windows (under
# $QH_BUILD_ROOT instead of build/ when that is set).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:?usage: build.sh native|asan|windows [TARGET...]}
shift
dir="${QH_BUILD_ROOT:-$top/build}/$kind"
jobs=${QH_JOBS:-$(nproc)}

args=(-S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "$kind" in
    native) ;;
    asan) args+=(-DQH_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    windows) args+=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake") ;;
    *) echo "build.sh: unknown build '$kind'" >&2; exit 2 ;;
esac

if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    cmake "${args[@]}" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" -j"$jobs" "${targets[@]}"
