#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, run and test PakOrder.
set -euo pipefail

packages=(
    cmake make g++ python3 strace
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    googletest libgtest-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
    wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
    zip zsh fish
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
