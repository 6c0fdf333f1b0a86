#!/usr/bin/env bash
# Installs the Debian packages the Windows cross build and its runs under Wine need, and only those
# missing: the mingw-w64 compiler with POSIX threads (std::thread), Wine, and GoogleTest's sources
# to build for that compiler; icotool for the window's icon, wixl for the MSI, osslsigncode and
# openssl to sign it and its programs, msitools and pefile to look inside them; and for the window's
# check under Wine a virtual X server, a way to press its keys and read its clipboard, a screen
# shot, and Python for the listener that records what the simulator receives.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine64 wine
    icoutils wixl msitools osslsigncode openssl python3-pefile
    xvfb xdotool xclip imagemagick python3
    googletest libcli11-dev nlohmann-json3-dev
    cmake ninja-build iproute2 util-linux
)

exec "$(dirname "$0")/install-missing.sh" "${packages[@]}"
