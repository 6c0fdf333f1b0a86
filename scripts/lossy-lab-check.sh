#!/usr/bin/env bash
# A verified plan of 100 devices on a segment that loses a tenth of the datagrams to and from the
# devices (nftables on the device side, `numgen random`): every device must be configured. Runs
# in the lab, so nothing leaves this machine; prints how long the plan took.
#
#   scripts/lossy-lab-check.sh LINUX_BUILD_DIR [CONFIGURE_OPTIONS...]
#
# Without options, the plan runs with --wait 5000 --resend 4. A device stays unheard for a round
# with odds of about 1 in 5 (its probe or its answer lost): the ten rounds of 5,000 ms leave one
# unheard device in ten million. A request is lost with odds of 1 in 10: the default two resends
# leave one device in a thousand unconfigured, a tenth of the runs of a hundred devices; four
# leave one run in a thousand.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
readonly devices=100
readonly rules='
table inet lossy {
    chain to_devices {
        type filter hook input priority 0; meta l4proto udp numgen random mod 10 == 0 drop
    }
    chain from_devices {
        type filter hook output priority 0; meta l4proto udp numgen random mod 10 == 0 drop
    }
}'

if [ "${1:-}" = --device-side ]; then
    shift
    nft -f - <<<"$rules"
    # One line per datagram would bury the result.
    exec "$@" >/dev/null
fi

if [ "${1:-}" = --program-side ]; then
    cli=$2 plan=$3
    shift 3
    start=$SECONDS
    status=0
    options=("$@")
    [ $# -gt 0 ] || options=(--wait 5000 --resend 4)
    output=$("$cli" configure --plan "$plan" --verify "${options[@]}") || status=$?
    summary=$(tail -n 1 <<<"$output")
    if [ "$status" != 0 ] || [ "$summary" != "$devices configured, 0 not confirmable, 0 failed" ]; then
        printf 'lossy-lab-check: status %s, summary "%s"\n' "$status" "$summary" >&2
        exit 1
    fi
    echo "lossy-lab-check: $summary in $((SECONDS - start)) s, a tenth of the datagrams lost"
    exit 0
fi

[ $# -ge 1 ] || { echo "usage: $0 LINUX_BUILD_DIR [CONFIGURE_OPTIONS...]" >&2; exit 2; }
command -v nft >/dev/null || { echo "lossy-lab-check: nft is missing (nftables)" >&2; exit 1; }
build=$(readlink -f "$1")
shift
plan=$(mktemp --suffix .csv)
trap 'rm -f "$plan"' EXIT
{
    echo "mac,ip,mask,gateway,dns,name,password,dhcp"
    # The simulator's MACs count up from 02:00:00:00:00:01; each device moves 109 addresses up.
    for ((k = 1; k <= devices; k++)); do
        printf '02:00:00:00:00:%02x,10.213.0.%d,255.255.255.0,10.213.0.1,,,,no\n' "$k" $((119 + k))
    done
} >"$plan"
"$here/lab.sh" --devices "$here/lossy-lab-check.sh --device-side \
$build/tools/devsim/kestrelink-devsim --devices08 $((devices / 2)) --devices32 $((devices / 2)) \
--first-ip 10.213.0.11" -- "$here/lossy-lab-check.sh" --program-side "$build/cli/kestrelink-cli" \
    "$plan" "$@"
