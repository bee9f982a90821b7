#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build/fuzz and runs
# one of them:  scripts/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
dir="${QH_BUILD_ROOT:-$top/build}/fuzz"
if [[ ! -f "$dir/CMakeCache.txt" ]]; then
    CC=clang CXX=clang++ cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQH_FUZZ=ON -DQH_SANITIZE=ON >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target "$target"
corpus="$dir/corpus/$target"
mkdir -p "$corpus"
seeds="$top/fuzz/$target/seeds"
[[ -d "$seeds" ]] || seeds=""
exec "$dir/bin/$target" -max_total_time="$seconds" -print_final_stats=1 "$@" "$corpus" $seeds
