#!/usr/bin/env bash
# Builds the fuzzer of the manifest reader and the conflict check with clang
# (libFuzzer, ASan, UBSan)
# and runs it for a bounded time from seeds of valid manifests:
#   tools/fuzz.sh [seconds]   (default 45)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-45}
out="$repo/build/fuzz"
mkdir -p "$out/corpus" "$out/seeds"

flags=(-std=c++20 -g -O1 -I"$repo" -I"$repo/tests")
clang++-14 "${flags[@]}" "$repo/tests/fuzz/WriteSeeds.cpp" -o "$out/write_seeds"
clang++-14 "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "$repo/tests/fuzz/ManifestFuzz.cpp" "$repo/mods/Manifest.cpp" "$repo/mods/Conflicts.cpp" "$repo/mods/ModFile.cpp" \
    "$repo/platform/Paths.cpp" "$repo/platform/PosixFileSystem.cpp" "$repo/platform/Utf8.cpp" -o "$out/manifest_fuzz"
"$out/write_seeds" "$out/seeds"

cd "$out"
./manifest_fuzz -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 -print_final_stats=1 \
    corpus seeds 2>"$out/fuzz.log" || { tail -n 40 "$out/fuzz.log"; echo "fuzzing found a fault: $out/fuzz.log"; exit 1; }
grep -E '^stat::number_of_executed_units|^Done' "$out/fuzz.log" || true
