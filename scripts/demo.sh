#!/usr/bin/env bash
# Shows Kestrelink finding simulated devices of both families on the two networks a laptop is
# typically attached to: the first holds the default route, the second is the wired port cabled
# to a device fresh from the box, whose factory address lies outside that port's network. The
# program and the simulators run in a private lab network of their own (scripts/lab.sh), so
# nothing is broadcast on a real network.
#
#   scripts/demo.sh BUILD_DIR [--screenshot FILE]
#
# With a display, the window stays until it is closed. Without one, or with --screenshot, the
# demo runs on a virtual X server, saves a screenshot of the screen a few seconds in (to FILE,
# by default BUILD_DIR/demo-screenshot.png) and ends.
set -euo pipefail

readonly screenshot_after=4 # seconds
readonly run_for=7          # seconds, in screenshot mode

die() {
    echo "demo.sh: $*" >&2
    exit 1
}

[ $# -ge 1 ] || die "usage: $0 BUILD_DIR [--screenshot FILE]"
build=$(readlink -f "$1")
shift
screenshot=""
if [ $# -gt 0 ]; then
    [ "$1" = --screenshot ] && [ $# -eq 2 ] || die "usage: demo.sh BUILD_DIR [--screenshot FILE]"
    screenshot=$(readlink -f "$2")
elif [ -z "${DISPLAY:-}" ]; then
    screenshot=$build/demo-screenshot.png
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
program=$build/app/kestrelink
simulator=$build/tools/devsim/kestrelink-devsim
[ -x "$program" ] || die "no program at $program; build first (make build)"
[ -x "$simulator" ] || die "no simulator at $simulator; build first (make build)"

# Every device answers within 400 ms of each probe. The first segment (10.213.0.0/24): four
# 08bits and three 32bits devices in its network. The second (10.214.0.0/24): one 32bits device
# at its factory address.
lab=("$repo/scripts/lab.sh"
    --devices "'$simulator' --devices08 4 --devices32 3 --first-ip 10.213.0.11 --jitter 400 \
        --name-prefix site-"
    --devices "'$simulator' --devices08 0 --devices32 1 --first-ip 192.168.1.20 --jitter 400 \
        --first-mac 02:00:00:00:01:01 --first-serial 2000 --name-prefix new-")

# The window starts as on a first run and keeps its state in a folder of the demo's own, so the
# demo neither shows nor changes the user's.
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
export XDG_CONFIG_HOME=$settings

if [ -z "$screenshot" ]; then
    "${lab[@]}" -- "$program"
    exit
fi

command -v xvfb-run >/dev/null || die "xvfb-run is missing (apt-get install xvfb xauth)"
command -v import >/dev/null || die "import is missing (apt-get install imagemagick)"

# Runs on the virtual display: the lab with the program for a few seconds, and a screenshot of
# the screen, trimmed to the window, meanwhile.
# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
    set -euo pipefail
    program=$1 screenshot=$2 after=$3 run_for=$4
    shift 4
    "$@" -- timeout "$run_for" "$program" &
    demo=$!
    sleep "$after"
    import -window root "$screenshot"
    convert "$screenshot" -trim +repage "$screenshot"
    status=0
    wait "$demo" || status=$?
    # timeout ends the program on purpose: status 124.
    [ "$status" -eq 0 ] || [ "$status" -eq 124 ]
' demo "$program" "$screenshot" "$screenshot_after" "$run_for" "${lab[@]}"
echo "demo.sh: screenshot saved to $screenshot"
