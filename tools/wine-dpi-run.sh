#!/usr/bin/env bash
# Runs a Windows program under Wine at another DPI, in the prefix kept for
# other DPIs, so the project's prefix stays at 96 DPI for every other test.
# CTest runs the scaling tests through it.
#   tools/wine-dpi-run.sh DPI PROGRAM [ARGUMENTS...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export PAKORDER_DPI=${1:?DPI}
shift
"$here/setup-wine.sh" || exit 1
source "$here/wine-env.sh"
wine "$@"
status=$?
# Nothing started in this prefix outlives the run: the next may want another DPI.
wineserver -k
exit $status
