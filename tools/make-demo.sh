#!/usr/bin/env bash
# Builds a demo game folder: our stand-in Torchlight2.exe, PAKS with the
# game's data and a dozen small mods of different ages, and PakOrder.exe
# beside the game, where a player puts it.
#   tools/make-demo.sh BUILD_DIR DEMO_DIR
set -euo pipefail
build=${1:?build folder}
demo=${2:?demo folder}

rm -rf "$demo"
mkdir -p "$demo/PAKS"
cp "$build/Torchlight2.exe" "$build/PakOrder.exe" "$demo/"

# name|UTC last-write time|with companion (.MAN)
mods=(
    "DATA.PAK|2012-09-20 08:00:00|yes"
    "高清材质包.PAK|2012-10-01 12:00:00|yes"
    "SynergiesMod.pak|2013-02-05 17:30:00|yes"
    "更多宠物.G1O|2013-06-18 09:15:00|yes"
    "UnlimitedStash.PAK|2014-03-22 20:00:00|no"
    "经验加倍.pak|2014-03-22 20:00:00|yes"
    "ClassPack_Necro.G1O|2015-08-09 06:45:00|no"
    "快速传送.PAK|2016-11-30 23:59:59|yes"
    "BetterLoot.pak|2017-04-12 10:00:00|yes"
    "地图扩展.G1O|2018-01-01 00:00:00|yes"
    "UI_Tweaks.PAK|2019-07-07 07:07:07|yes"
    "怪物强化.pak|2021-05-20 13:14:00|yes"
    "Zoom_Hack.PAK|2022-12-25 18:00:00|yes"
)
for entry in "${mods[@]}"; do
    IFS='|' read -r name time companion <<<"$entry"
    printf 'demo pak %s\n' "$name" >"$demo/PAKS/$name"
    touch -d "$time UTC" "$demo/PAKS/$name"
    if [ "$companion" = yes ]; then
        printf 'demo manifest %s\n' "$name" >"$demo/PAKS/$name.MAN"
        touch -d "$time UTC" "$demo/PAKS/$name.MAN"
    fi
done
echo "Demo game folder: $demo"
