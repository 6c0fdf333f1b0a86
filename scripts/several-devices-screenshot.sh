#!/usr/bin/env bash
# Takes the README's picture of "Configure Several Devices": the program on a private lab
# network (scripts/lab.sh) with simulated devices that take a while to apply their settings,
# on a virtual X server; xdotool opens the dialog from the list's menu, fills it in and presses
# Enter, and the dialog is captured once the run is over.
#
#   scripts/several-devices-screenshot.sh BUILD_DIR FILE
set -euo pipefail

die() {
    echo "several-devices-screenshot.sh: $*" >&2
    exit 1
}

[ $# -eq 2 ] || die "usage: $0 BUILD_DIR FILE"
build=$(readlink -f "$1")
screenshot=$(readlink -m "$2")
repo=$(cd "$(dirname "$0")/.." && pwd)
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || die "$tool is missing (apt-get install xvfb xauth xdotool imagemagick)"
done
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT
export XDG_CONFIG_HOME=$settings

# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -euo pipefail
    repo=$1 build=$2 screenshot=$3
    "$repo/scripts/lab.sh" --devices "$build/tools/devsim/kestrelink-devsim --devices08 3 \
        --devices32 5 --first-ip 10.213.0.11 --jitter 200 --apply-delay 1500 --name-prefix site-" \
        -- timeout 30 "$build/app/kestrelink" >/dev/null &
    lab=$!
    sleep 4
    window=$(xdotool search --onlyvisible --name "^Kestrelink " | head -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 100)) $((Y + 60)) click 3
    sleep 1
    xdotool key Down Down Return
    sleep 2
    xdotool type --delay 40 "10.213.0.101"
    xdotool key Tab Tab
    xdotool type --delay 40 "255.255.255.0"
    xdotool key Tab
    xdotool type --delay 40 "10.213.0.1"
    xdotool key Tab Tab
    xdotool type --delay 40 "cam-###"
    xdotool key Return
    sleep 6
    dialog=$(xdotool search --onlyvisible --name "^Configure Several Devices$" | head -1)
    import -window "$dialog" "$screenshot"
    kill "$lab" 2>/dev/null || true
    wait "$lab" || true
' shot "$repo" "$build" "$screenshot"
[ -s "$screenshot" ] || die "no screenshot was taken"
echo "several-devices-screenshot.sh: screenshot saved to $screenshot"
