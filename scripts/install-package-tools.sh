#!/usr/bin/env bash
# Installs the Debian packages that building, checking and installing the Kestrelink packages
# need, and only those missing: help2man for the manual pages, dpkg-dev and file for CPack's
# dependency computation, lintian, the two metadata validators and man-db for `man -w`.
set -euo pipefail

packages=(
    help2man dpkg-dev file lintian appstream desktop-file-utils man-db
)

exec "$(dirname "$0")/install-missing.sh" "${packages[@]}"
