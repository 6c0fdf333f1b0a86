#!/usr/bin/env bash
# Runs a command in a fresh network namespace that has only loopback, with the limited broadcast
# address routed to it, so that nothing it sends can leave this machine. If the namespace cannot
# be made, the command does not run at all.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

# Root makes the namespace directly; anyone else maps themselves to root in a user namespace of
# their own, which is also what lets them configure it.
user_namespace=(--map-root-user)
[ "$(id -u)" -ne 0 ] || user_namespace=()

exec unshare --net "${user_namespace[@]}" -- sh -c '
    set -e
    ip link set lo up
    ip route add 255.255.255.255 dev lo
    exec "$@"
' private-network "$@"
