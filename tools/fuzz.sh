#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, ASan, UBSan) and runs each for a
# bounded time from seeds the seed writer makes:
#   - the manifest reader and the conflict check, from valid manifests, one
#     of them some ten thousand entries long;
#   - the change-record reader and writer, from valid records;
#   - the mod list reader and writer and the import, from valid lists;
#   - the reader and writer of intended overlaps, from valid files;
#   - the reader of Steam's library files, from files as Steam writes them.
#   tools/fuzz.sh [seconds per fuzzer]   (default 30)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-30}
out="$repo/build/fuzz"
mkdir -p "$out/corpus" "$out/seeds" "$out/record-corpus" "$out/record-seeds" \
         "$out/list-corpus" "$out/list-seeds" "$out/vdf-corpus" "$out/vdf-seeds" \
         "$out/overlaps-corpus" "$out/overlaps-seeds"

flags=(-std=c++20 -g -O1 -I"$repo" -I"$repo/tests")
fuzz=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
records=("$repo/mods/ChangeRecord.cpp" "$repo/base/FileTime.cpp" "$repo/mods/ModFile.cpp"
         "$repo/platform/LetterCase.cpp" "$repo/platform/Utf8.cpp")
overlaps=("$repo/mods/ModList.cpp" "$repo/mods/IntendedOverlaps.cpp" "$repo/platform/Paths.cpp"
          "$repo/platform/PosixFileSystem.cpp")
lists=("$repo/mods/ListImport.cpp" "$repo/mods/Arrangement.cpp" "$repo/mods/Reorder.cpp" "${overlaps[@]}")
clang++-14 "${flags[@]}" "$repo/tests/fuzz/WriteSeeds.cpp" "${records[@]}" "${overlaps[@]}" -o "$out/write_seeds"
clang++-14 "${flags[@]}" "${fuzz[@]}" \
    "$repo/tests/fuzz/ManifestFuzz.cpp" "$repo/mods/Manifest.cpp" "$repo/mods/Conflicts.cpp" "$repo/mods/ConflictIndex.cpp" \
    "$repo/platform/PosixLargeMemory.cpp" \
    "${records[@]}" "${overlaps[@]}" -o "$out/manifest_fuzz"
clang++-14 "${flags[@]}" "${fuzz[@]}" "$repo/tests/fuzz/RecordFuzz.cpp" "${records[@]}" -o "$out/record_fuzz"
clang++-14 "${flags[@]}" "${fuzz[@]}" "$repo/tests/fuzz/ModListFuzz.cpp" "${lists[@]}" "${records[@]}" -o "$out/list_fuzz"
clang++-14 "${flags[@]}" "${fuzz[@]}" "$repo/tests/fuzz/VdfFuzz.cpp" "$repo/mods/Vdf.cpp" -o "$out/vdf_fuzz"
clang++-14 "${flags[@]}" "${fuzz[@]}" "$repo/tests/fuzz/OverlapsFuzz.cpp" "${records[@]}" "${overlaps[@]}" -o "$out/overlaps_fuzz"
"$out/write_seeds" "$out/seeds" "$out/record-seeds" "$out/list-seeds" "$out/vdf-seeds" "$out/overlaps-seeds"

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
run list_fuzz list-corpus list-seeds
run vdf_fuzz vdf-corpus vdf-seeds
run overlaps_fuzz overlaps-corpus overlaps-seeds
