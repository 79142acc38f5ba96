#!/usr/bin/env bash
# Measures PakOrder against bare reference programs and prints one line per
# figure: ours, bare, ratio (medians of alternating runs).
#   - under Wine and Xvfb: start-up until the count shows, "还原", moving
#     every fifth row to the top and down, the smart sort, and the private
#     bytes with 10,000 mods; moving every fifth of 500 rows to the top
#     with the conflict marks of 500 mods x 2,000 files against the same
#     move among mods without manifests; the reference is tests/bench/BareList.cpp, the
#     driver tests/bench/ListBench.cpp, the folders are generated in build/bench;
#   - natively: the core's catalogue read against a bare readdir + stat loop,
#     the conflict analysis (and the whole check) of 500 mods x 2,000 files against reading their
#     manifests, and the check's peak memory (getrusage, a process per
#     folder) for those mods, one manifest at the size limit and two, against
#     reading the same manifests into one buffer;
#   - natively: `pakorder list` on 5,000 mods against a program making the
#     catalogue bench's bare readdir + stat loop (both started as processes),
#     `pakorder conflicts` on 500 mods x 2,000 files against the core's
#     conflict check in-process, `pakorder history` of 50 records of 20,000
#     mods (time and peak memory) against a program reading the records'
#     files one at a time, and the game found through 62,000 Steam libraries
#     against looking in each (tests/bench/CliBench.cpp);
#   - natively and under Wine: a record of 5,000 mods written durably against
#     writing and flushing the same bytes, and the undo of a smart sort of
#     5,000 mods against a bare loop setting the same times back.
# Usage: tools/bench.sh [repetitions]   (PAKORDER_EXE=path measures another PakOrder.exe)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
reps=${1:-5}
"$repo/tools/install-deps.sh"
mkdir -p "$repo/build/bench"
# The core is measured optimised, in a build of its own.
if ! { "$repo/tools/build.sh" windows &&
       cmake --no-warn-unused-cli -S "$repo" -B "$repo/build/bench-native" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$repo/build/bench-native" -j"$(nproc)" --target catalogue_bench conflict_bench conflict_memory \
           record_bench cli_bench bare_listing bare_records pakorder; } >"$repo/build/bench.log" 2>&1; then
    tail -n 40 "$repo/build/bench.log"
    exit 1
fi
"$repo/tools/setup-wine.sh"

winpath() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }
driver=$(winpath "$repo/build/windows/tests/list_bench.exe")
ours=$(winpath "${PAKORDER_EXE:-$repo/build/windows/PakOrder.exe}")
bare=$(winpath "$repo/build/windows/tests/BareList.exe")
work=$(winpath "$repo/build/bench")

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    source "$1/tools/wine-env.sh"
    driver=$2 ours=$3 bare=$4 work=$5 reps=$6
    run() { wine "$driver" "$work" "$1" "$2" "$ours" "$bare" "${@:3}"; }
    run 1000 "$reps" startup restore
    run 5000 "$reps" startup restore top down sort
    run 20000 "$reps" startup restore
    run 10000 1 memory
    run 500 "$reps" marks
    wine "$1/build/windows/tests/record_bench.exe" "$reps" | sed "s/\$/ (Wine)/"
    wineserver -k
' _ "$repo" "$driver" "$ours" "$bare" "$work" "$reps" 2>/dev/null | tr -d '\r'

# Both reads run several times, interleaved at random, so that the noise of a
# shared machine falls on both alike; the medians are compared.
"$repo/build/bench-native/tests/catalogue_bench" --benchmark_format=json --benchmark_repetitions="$((reps + 2))" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true 2>/dev/null | python3 -c '
import json, sys
times = {b["run_name"]: b["real_time"] for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"}
for name, ours in sorted(times.items()):
    if name.startswith("ReadCatalogue/"):
        n = name.split("/")[1]
        bare = times["ReaddirAndStat/" + n]
        label = "catalogue read, %s mods (native)" % n
        print("%-36s ours %9.1f ms   bare %9.1f ms   ratio %5.2f" % (label, ours, bare, ours / bare))
'
"$repo/build/bench-native/tests/conflict_bench" 2>/dev/null | tail -n 3
"$repo/build/bench-native/tests/conflict_memory" "$repo/build/bench/conflict-memory"
"$repo/build/bench-native/tests/record_bench" "$reps" | sed 's/$/ (native)/'
"$repo/build/bench-native/tests/cli_bench" "$repo/build/bench-native/pakorder" \
    "$repo/build/bench-native/tests/bare_listing" "$((4 * reps + 1))"
