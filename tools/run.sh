#!/usr/bin/env bash
# Installs what is missing, builds PakOrder.exe and starts it under Wine.
#   tools/run.sh               on a freshly made demo game folder
#   tools/run.sh GAME_FOLDER   on that game folder (PakOrder.exe is copied into it,
#                              where a player puts it)
# Without a display it runs under a virtual one, saves a screenshot and says where.
# PAKORDER_DPI=192 tools/run.sh runs it at that DPI (Wine's own prefix for it),
# on a virtual screen as much larger.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$repo/tools/install-deps.sh"
"$repo/tools/build.sh" windows >/dev/null
"$repo/tools/setup-wine.sh"
source "$repo/tools/wine-env.sh"

if [ $# -ge 1 ]; then
    game=$(cd "$1" && pwd)
    cp "$repo/build/windows/PakOrder.exe" "$game/"
else
    game="$repo/build/demo/Torchlight II"
    "$repo/tools/make-demo.sh" "$repo/build/windows" "$game"
fi

if [ -n "${DISPLAY:-}" ]; then
    cd "$game" && exec wine "$game/PakOrder.exe"
fi

dpi=${PAKORDER_DPI:-96}
size="$((1024 * dpi / 96))x$((768 * dpi / 96))"
shot="$repo/build/screenshots/pakorder${PAKORDER_DPI:+-$dpi}.png"
mkdir -p "$(dirname "$shot")"
xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
    cd "$1"
    wine explorer /desktop=PakOrder,$3 "$1/PakOrder.exe" &
    for _ in $(seq 1 60); do
        sleep 0.5
        xdotool search --name "^PakOrder +\(Ctrl" >/dev/null 2>&1 && break
    done
    sleep 2
    import -window root "$2"
    wineserver -k
' _ "$game" "$shot" "$size"
echo "No display: PakOrder ran under Xvfb on $game; screenshot saved to $shot"
