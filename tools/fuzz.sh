#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, ASan, UBSan) and runs each for a
# bounded time from seeds the seed writer makes:
#   - the manifest reader and the conflict check, from valid manifests, one
#     of them some ten thousand entries long;
#   - the change-record reader and writer, from valid records.
#   tools/fuzz.sh [seconds per fuzzer]   (default 30)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
out="$repo/build/fuzz"
mkdir -p "$out/corpus" "$out/seeds" "$out/record-corpus" "$out/record-seeds"

flags=(-std=c++20 -g -O1 -I"$repo" -I"$repo/tests")
fuzz=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
records=("$repo/mods/ChangeRecord.cpp" "$repo/mods/FileTime.cpp" "$repo/mods/ModFile.cpp"
         "$repo/platform/LetterCase.cpp" "$repo/platform/Utf8.cpp")
clang++-14 "${flags[@]}" "$repo/tests/fuzz/WriteSeeds.cpp" "${records[@]}" -o "$out/write_seeds"
clang++-14 "${flags[@]}" "${fuzz[@]}" \
    "$repo/tests/fuzz/ManifestFuzz.cpp" "$repo/mods/Manifest.cpp" "$repo/mods/Conflicts.cpp" "$repo/mods/ModFile.cpp" \
    "$repo/platform/LetterCase.cpp" "$repo/platform/Paths.cpp" "$repo/platform/PosixFileSystem.cpp" "$repo/platform/Utf8.cpp" \
    "$repo/app/Texts.cpp" \
    -o "$out/manifest_fuzz"
clang++-14 "${flags[@]}" "${fuzz[@]}" "$repo/tests/fuzz/RecordFuzz.cpp" "${records[@]}" -o "$out/record_fuzz"
"$out/write_seeds" "$out/seeds" "$out/record-seeds"

cd "$out"
run() {  # name corpus seeds [libFuzzer options]
    "./$1" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 -print_final_stats=1 "${@:4}" \
        "$2" "$3" 2>"$out/$1.log" || { tail -n 40 "$out/$1.log"; echo "fuzzing found a fault: $out/$1.log"; return 1; }
    echo "$1:"
    grep -E '^stat::number_of_executed_units|^Done' "$out/$1.log" || true
}
# Manifests of real size: counts of thousands with the bytes behind them
# (libFuzzer's default of 4,096 bytes stops short of that).
run manifest_fuzz corpus seeds -max_len=262144
run record_fuzz record-corpus record-seeds
