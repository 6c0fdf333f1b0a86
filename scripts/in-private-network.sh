#!/usr/bin/env bash
# Runs a command in a fresh network namespace that has only loopback, with the limited broadcast
# address routed to it, so that nothing it sends can leave this machine. If the namespace cannot
# be made, the command does not run at all.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }

# Whoever may make a network namespace (root, as a rule) makes it directly; anyone else, root in
# a container that withholds that right included, maps themselves to root in a user namespace of
# their own, which is also what lets them configure it.
user_namespace=()
unshare --net true 2>/dev/null || user_namespace=(--map-root-user)

exec unshare --net "${user_namespace[@]}" -- sh -c '
    set -e
    ip link set lo up
    ip route add 255.255.255.255 dev lo
    exec "$@"
' private-network "$@"
