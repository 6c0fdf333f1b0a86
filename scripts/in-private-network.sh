#!/usr/bin/env bash
# Runs a command in a fresh network namespace that has only loopback, with the limited broadcast
# address routed to it, so that nothing it sends can leave this machine. If the namespace cannot
# be made, the command does not run at all.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

exec unshare --net --map-root-user -- sh -c '
    set -e
    ip link set lo up
    ip route add 255.255.255.255 dev lo
    exec "$@"
' private-network "$@"
