#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test suite:
# the core tests natively, with ASan/UBSan, and under Wine; the GUI and
# end-to-end tests under Wine and Xvfb; the fuzzers of the manifest, record,
# mod list and Steam library readers for 30 seconds each. The release files
# of tools/package.sh are made before the tests, which check them.
# Ends with one line of counts.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$repo/tools/install-deps.sh" || exit 1
mkdir -p "$repo/build"
for build in native sanitize windows; do
    echo "== building $build"
    if ! "$repo/tools/build.sh" "$build" >"$repo/build/$build.log" 2>&1; then
        tail -n 40 "$repo/build/$build.log"
        echo "0 passed, 1 failed"
        exit 1
    fi
done
echo "== packaging"
if ! "$repo/tools/package.sh" >"$repo/build/package.log" 2>&1; then
    tail -n 40 "$repo/build/package.log"
    echo "0 passed, 1 failed"
    exit 1
fi
"$repo/tools/setup-wine.sh" || exit 1

status=0
for build in native sanitize windows; do
    rm -rf "$repo/build/$build/test-results"
    mkdir -p "$repo/build/$build/test-results"
    echo "== testing $build"
    if [ "$build" = windows ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" \
            bash -c 'source "$1/tools/wine-env.sh"; ctest --test-dir "$2" --output-on-failure; rc=$?; wineserver -k; exit $rc' \
            _ "$repo" "$repo/build/$build" || status=1
    else
        ctest --test-dir "$repo/build/$build" --output-on-failure || status=1
    fi
done

# The readers of files from disk under libFuzzer for a bounded time: one case.
echo "== fuzzing the manifest, record, mod list and Steam library readers"
fuzz_failed=0
"$repo/tools/fuzz.sh" 30 || { status=1; fuzz_failed=1; }

# One line of counts over every test case of every suite; a suite that
# left no report (it crashed or hung) counts as one failure.
passed=$((1 - fuzz_failed)) failed=$fuzz_failed
for build in native sanitize windows; do
    for suite in $(ctest --test-dir "$repo/build/$build" -N | sed -n 's/^ *Test *#[0-9]*: //p'); do
        report="$repo/build/$build/test-results/$suite.xml"
        if [ ! -f "$report" ]; then
            echo "no report from $build/$suite"
            failed=$((failed + 1))
            continue
        fi
        root=$(grep -m1 '<testsuites' "$report")
        tests=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$root")
        failures=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$root")
        skipped=$(grep -c '<skipped' "$report" || true)
        passed=$((passed + tests - failures - skipped))
        failed=$((failed + failures))
    done
done
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed"
exit $status
