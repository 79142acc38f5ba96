#!/usr/bin/env bash
# Creates the project's Wine prefix once, with a CJK font standing in for the
# fonts the dialogs ask for, so Chinese text draws as text, not boxes.
#   PAKORDER_DPI=192 tools/setup-wine.sh   the prefix for that DPI (wine-env.sh)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"

# With PAKORDER_DPI, the prefix's DPI: Wine reads it when a program starts.
set_dpi() {
    if [ -n "${PAKORDER_DPI:-}" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PAKORDER_DPI" /f >/dev/null 2>&1
        wineserver -w
    fi
}

if [ -f "$WINEPREFIX/.pakorder-ready" ]; then
    set_dpi
    exit 0
fi
mkdir -p "$WINEPREFIX"
echo "Creating the Wine prefix in $WINEPREFIX ..."
wineboot -i >/dev/null 2>&1 || true
wineserver -w

font="WenQuanYi Micro Hei"
reg=$(mktemp --suffix=.reg)
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "SimSun" "宋体" "Microsoft YaHei" "MS Sans Serif"; do
        printf '"%s"="%s"\r\n' "$face" "$font"
    done
    # Without a window manager, managed windows make Wine wait two seconds
    # each time a window is hidden.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
wine regedit "$reg" >/dev/null 2>&1
wineserver -w
rm -f "$reg"
touch "$WINEPREFIX/.pakorder-ready"
set_dpi
