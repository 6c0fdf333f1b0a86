#!/usr/bin/env bash
# kestrelink-cli.exe under Wine on the program side of a two-segment lab, against kestrelink-devsim
# on the Linux side: discovery lists the devices of both segments, each as heard on its own;
# --interface limits it to one segment and refuses a name that is no usable interface; a
# verified request moves a device; and every probe and request that reached a segment came from
# the program side's own address on that segment; doctor finds nothing in the way and counts the
# devices of each segment.
#
#   scripts/windows-lab-check.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = --program-side ]; then
    windows=$2
    cli() { "$here/wine.sh" "$windows/wine" "$windows/cli/kestrelink-cli.exe" "$@"; }
    expect() { # WHAT OUTPUT PATTERN
        grep -q -- "$3" <<<"$2" && return
        printf 'windows-lab-check: %s lacks %s:\n%s\n' "$1" "$3" "$2" >&2
        exit 1
    }
    found=$(cli discover --format csv)
    expect discover "$found" '^10\.213\.0\.11,02:00:00:00:00:01,.*,klp0,false'
    expect discover "$found" '^10\.213\.0\.12,02:00:00:00:00:02,.*,klp0,false'
    expect discover "$found" '^10\.214\.0\.11,02:00:00:00:01:01,.*,klp1,false'
    one_segment=$(cli discover --format csv --interface klp1)
    expect "discover --interface klp1" "$one_segment" '^10\.214\.0\.11,02:00:00:00:01:01,'
    if grep -q ',klp0,' <<<"$one_segment"; then
        printf 'windows-lab-check: discover --interface klp1 listed klp0:\n%s\n' "$one_segment" >&2
        exit 1
    fi
    status=0
    cli discover --interface none-such 2>/dev/null || status=$?
    if [ "$status" != 2 ]; then
        echo "windows-lab-check: --interface none-such ended with $status, not 2" >&2
        exit 1
    fi
    expect "discover --format json" "$(cli discover --format json)" '"mac": "02:00:00:00:00:02"'
    cli configure 02:00:00:00:00:02 --ip 10.213.0.42 --mask 255.255.255.0 --gateway 10.213.0.2 \
        --verify
    expect "discover after configure" "$(cli discover --format csv)" \
        '^10\.213\.0\.42,02:00:00:00:00:02,'
    status=0
    report=$(cli doctor --format json --wait 2000) || status=$?
    if [ "$status" != 0 ] || ! python3 -c '
import json, sys
report = json.loads(sys.argv[1])
adapters = [(a["name"], a["source"], a["probe_sent"], a["answered"]) for a in report["adapters"]]
sys.exit(not (report["port"]["bindable"] and report["obstacles"] == [] and
              adapters == [("klp0", "10.213.0.1", True, 2), ("klp1", "10.214.0.1", True, 2)]))
' "$report"; then
        printf 'windows-lab-check: doctor ended with %s:\n%s\n' "$status" "$report" >&2
        exit 1
    fi
    echo "windows-lab-check: discover, --interface, configure --verify and doctor passed under Wine"
    exit 0
fi

[ $# -eq 2 ] || { echo "usage: $0 LINUX_BUILD_DIR WINDOWS_BUILD_DIR" >&2; exit 2; }
devsim=$(readlink -f "$1/tools/devsim/kestrelink-devsim")
pair="$devsim --devices08 1 --devices32 1"
captures=$(mktemp -d)
trap 'rm -rf "$captures"' EXIT
# Both device ports of segment N, with the source of each datagram.
capturing() { # N
    local port
    for port in 43210 54321; do
        printf '%s --source %s %s/klp%s & ' "$here/udp-capture.py" "$port" "$captures" "$1"
    done
}
"$here/lab.sh" --devices "$(capturing 0) $pair --first-ip 10.213.0.11" \
    --devices "$(capturing 1) $pair --first-ip 10.214.0.11 --first-mac 02:00:00:00:01:01" \
    -- "$here/$(basename "$0")" --program-side "$(readlink -f "$2")"

# Every datagram on a segment left from the program side's address there, never from 0.0.0.0 or
# another adapter's; probes reached both segments, and the request reached the first.
expect_sources() { # N ADDRESS KINDS...
    local file="$captures/klp$1" address=$2 kind
    shift 2
    if awk -v from="$address" '$1 != from { print; found = 1 } END { exit !found }' "$file"; then
        echo "windows-lab-check: klp$1 got the datagrams above from elsewhere than $address" >&2
        exit 1
    fi
    for kind in "$@"; do
        awk -v from="$address" -v kind="$kind" '$1 == from && index($2, kind) == 1 { found = 1 }
            END { exit !found }' "$file" && continue
        echo "windows-lab-check: klp$1 got no datagram starting $kind from $address" >&2
        exit 1
    done
}
expect_sources 0 10.213.0.1 5a5a a5a5
expect_sources 1 10.214.0.1 5a5a
echo "windows-lab-check: every probe and request left from its segment's own address"
