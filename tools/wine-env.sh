# Sourced: the Wine environment of the project (a prefix inside the build tree).
# With PAKORDER_DPI set, Wine runs at that DPI in a prefix of its own, so the
# project's prefix stays at 96 DPI for everything else.
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -n "${PAKORDER_DPI:-}" ]; then
    export WINEPREFIX="${PAKORDER_WINEPREFIX:-$repo/build/wineprefix-dpi}"
else
    export WINEPREFIX="${PAKORDER_WINEPREFIX:-$repo/build/wineprefix}"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
