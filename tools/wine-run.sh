#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix; CTest uses it
# as the emulator for the cross-compiled tests.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
exec wine "$@"
