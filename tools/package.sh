#!/usr/bin/env bash
# Builds the release files into build/dist/, from the release builds
# (tools/build.sh release, and windows), which it brings up to date first:
#   pakorder-VERSION-windows-x64.zip       PakOrder.exe, pakorder.com, the README as text, the notices
#   pakorder-VERSION-linux-x86_64.tar.gz   the static pakorder, its manual page, the completion scripts
#   pakorder_VERSION_ARCH.deb              /usr/bin/pakorder, the manual page and the completions
#                                          where Debian's packages put them
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$repo/tools/build.sh" release
"$repo/tools/build.sh" windows

version=$(sed -n 's/^#define PAKORDER_VERSION "\(.*\)"$/\1/p' "$repo/build/release/generated/base/Version.h")
[ -n "$version" ] || { echo "no version in build/release" >&2; exit 1; }
pakorder=$repo/build/release/pakorder
windows=$repo/build/windows
dist=$repo/build/dist
rm -rf "$dist"
mkdir -p "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The notices, then the licences of the runtimes linked in, as Debian ships them.
notices() {
    cat "$repo/docs/NOTICE.txt"
    for package in "$@"; do
        printf '\n\n======== %s\n\n' "$package"
        cat "/usr/share/doc/$package/copyright"
    done
}

# The scripts come from the program itself, as a user would make them.
completions() {
    local into=$1 bash=$2 zsh=$3 fish=$4
    mkdir -p "$into/$(dirname "$bash")" "$into/$(dirname "$zsh")" "$into/$(dirname "$fish")"
    "$pakorder" completion bash >"$into/$bash"
    "$pakorder" completion zsh >"$into/$zsh"
    "$pakorder" completion fish >"$into/$fish"
}

# Windows: the programs to put beside Torchlight2.exe, and a README Notepad reads.
zipped=$stage/zip
mkdir -p "$zipped"
cp "$windows/PakOrder.exe" "$windows/pakorder.com" "$zipped/"
for readme in "$repo"/README*.md; do
    sed 's/$/\r/' "$readme" >"$zipped/$(basename "$readme" .md).txt"
done
notices gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev | sed 's/$/\r/' >"$zipped/NOTICE.txt"
(cd "$zipped" && TZ=UTC zip -q -X -r "$dist/pakorder-$version-windows-x64.zip" .)

# Linux: a folder to unpack anywhere.
folder=$stage/pakorder-$version-linux-x86_64
mkdir -p "$folder"
install -m 0755 -s "$pakorder" "$folder/pakorder"
cp "$repo/docs/pakorder.1" "$repo"/README*.md "$folder/"
completions "$folder" completions/pakorder.bash completions/_pakorder completions/pakorder.fish
notices libc6 gcc-12-base >"$folder/NOTICE.txt"
tar -C "$stage" --owner=0 --group=0 --sort=name -czf "$dist/pakorder-$version-linux-x86_64.tar.gz" "$(basename "$folder")"

# Debian: where its packages put a program, its manual and its completions.
architecture=$(dpkg --print-architecture)
root=$stage/deb
install -D -m 0755 -s "$pakorder" "$root/usr/bin/pakorder"
mkdir -p "$root/usr/share/man/man1" "$root/usr/share/doc/pakorder"
gzip -9n <"$repo/docs/pakorder.1" >"$root/usr/share/man/man1/pakorder.1.gz"
completions "$root" usr/share/bash-completion/completions/pakorder usr/share/zsh/vendor-completions/_pakorder \
    usr/share/fish/vendor_completions.d/pakorder.fish
notices libc6 gcc-12-base >"$root/usr/share/doc/pakorder/copyright"
mkdir -p "$root/DEBIAN"
cat >"$root/DEBIAN/control" <<CONTROL
Package: pakorder
Version: $version
Architecture: $architecture
Maintainer: ${PAKORDER_MAINTAINER:-PakOrder developers <pakorder@invalid>}
Installed-Size: $(du -sk "$root/usr" | cut -f1)
Section: games
Priority: optional
Description: order, enable and disable the mods of Torchlight II
 pakorder manages the mods in the game's PAKS folder: the order the game
 loads them in (their files' last-write times) and which are enabled, each
 with its manifest. Every change is recorded first and can be undone.
 It is the command line of PakOrder, whose window runs on Windows.
CONTROL
chmod -R u+rwX,go+rX,go-w "$root"
dpkg-deb --root-owner-group -Zxz --build "$root" "$dist/pakorder_${version}_${architecture}.deb" >/dev/null

ls -l "$dist"
