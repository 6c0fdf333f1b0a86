#!/usr/bin/env bash
# Installs the Debian packages that building, checking and installing the Kestrelink packages
# need, and only those missing: help2man for the manual pages, dpkg-dev and file for CPack's
# dependency computation, lintian, the two metadata validators and man-db for `man -w`.
set -euo pipefail

packages=(
    help2man dpkg-dev file lintian appstream desktop-file-utils man-db
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
