#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, and only those missing.
set -euo pipefail

packages=(
    # the build, through the Makefile
    cmake ninja-build g++ make
    # the program and its widget tests; Qt's CMake package needs the OpenGL headers
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the tests and the benchmarks
    libgtest-dev libbenchmark-dev
    # the command-line program: its arguments and its JSON
    libcli11-dev nlohmann-json3-dev
    # the fuzzer (scripts/fuzz.sh)
    clang libclang-rt-14-dev
    # private networks: ip, unshare, nsenter, setsid
    iproute2 util-linux
    # the lossy lab: a share of the devices' datagrams dropped (scripts/lossy-lab-check.sh)
    nftables
    # xdg-open, through which the Web button reaches the default browser
    xdg-utils
    # a font for the offscreen widget tests and the demo
    fonts-dejavu-core
    # the demo's virtual display and screenshot
    xvfb xauth imagemagick
)

exec "$(dirname "$0")/install-missing.sh" "${packages[@]}"
