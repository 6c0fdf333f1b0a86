#!/usr/bin/env bash
# Installs the Debian packages the Windows cross build and its runs under Wine need, and only those
# missing: the mingw-w64 compiler with POSIX threads (std::thread), Wine, and GoogleTest's sources
# to build for that compiler.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine64 wine
    googletest libcli11-dev nlohmann-json3-dev
    cmake ninja-build iproute2 util-linux
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
