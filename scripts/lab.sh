#!/usr/bin/env bash
# A private two-host network: a program side and a device side, each in a network namespace of
# its own, joined by a veth pair and nothing else. The program's broadcasts reach the devices
# and can reach nothing beyond them.
#
#   scripts/lab.sh [--devices "COMMAND"] [--wait-udp PORTS] [--mode auto|netns|unshare] \
#                  -- PROGRAM [ARGS...]
#
# Program side: klp0, 10.213.0.1/24, default route via the device side, so that
# 255.255.255.255 goes out over the veth. Device side: kld0, 10.213.0.2/24.
# COMMAND (a shell command line) runs in the background on the device side; PROGRAM runs in the
# foreground on the program side once the device side has bound the UDP PORTS (default, when
# COMMAND is given: 43210,54321; an empty list waits for nothing). Without COMMAND the device
# side stays empty. The exit status is PROGRAM's; the device side is stopped (SIGTERM to its
# process group) when PROGRAM ends.
#
# Modes: netns uses named namespaces (`ip netns`, needs real root); unshare makes them with
# unshare(1), which also works inside an unprivileged user namespace such as the one
# scripts/in-private-network.sh makes. auto (the default) picks netns for real root, else
# unshare. Whatever the mode, a side whose namespace holds any interface other than loopback
# and kl* refuses to run its command.
#
# Example:
#   scripts/lab.sh --devices "build/tools/devsim/kestrelink-devsim --devices08 5 --devices32 5" \
#       -- build/app/kestrelink
set -euo pipefail

readonly program_address=10.213.0.1
readonly device_address=10.213.0.2
readonly prefix_length=24
readonly ready_timeout_steps=100 # of 0.1 s
self=$(readlink -f "$0")
readonly self

die() {
    echo "lab.sh: $*" >&2
    exit 1
}

usage() {
    sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$self"
}

# Runs the rest of the command line after checking that this namespace is a private one.
checked_exec() {
    [ -n "${KL_LAB_ORIGIN_NS:-}" ] || die "internal: origin namespace unknown"
    [ "$(readlink /proc/self/ns/net)" != "$KL_LAB_ORIGIN_NS" ] ||
        die "refusing to run: still in the namespace the lab was started from"
    local names name
    names=$(ip -o link show | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }')
    [ -n "$names" ] || die "refusing to run: the interfaces cannot be listed"
    for name in $names; do
        case $name in
        lo | kl*) ;;
        *) die "refusing to run: interface '$name' is not part of the lab" ;;
        esac
    done
    exec "$@"
}

# True once the process's namespace has every port of the comma-separated list bound for UDP.
udp_ports_bound() {
    local pid=$1 ports=$2 port hex
    for port in ${ports//,/ }; do
        hex=$(printf '%04X' "$port")
        awk -v port="$hex" 'NR > 1 { split($2, a, ":"); if (a[2] == port) found = 1 }
            END { exit !found }' "/proc/$pid/net/udp" || return 1
    done
}

wait_until_ready() {
    local step
    for ((step = 0; step < ready_timeout_steps; ++step)); do
        kill -0 "$device_pid" 2>/dev/null || die "the devices command ended before it was ready"
        if [ -z "$wait_ports" ] || udp_ports_bound "$device_pid" "$wait_ports"; then
            return 0
        fi
        sleep 0.1
    done
    die "the device side did not bind UDP $wait_ports within $((ready_timeout_steps / 10)) s"
}

# The lab speaks IPv4 only; this keeps the link free of IPv6 chatter. Best effort.
quiet_ipv6() { # enter-command... interface
    local interface=${*: -1}
    "${@:1:$#-1}" sh -c "echo 1 >/proc/sys/net/ipv6/conf/$interface/disable_ipv6" 2>/dev/null ||
        true
}

# setsid gives the device side a process group of its own, so that stopping it reaches every
# process its command started.
start_devices() { # enter-command...
    setsid "$@" "$self" --checked-exec sh -c "$devices" &
    device_pid=$!
}

stop_devices() {
    [ -n "$device_pid" ] || return 0
    kill -TERM -- "-$device_pid" 2>/dev/null || true
    local status=0
    wait "$device_pid" || status=$?
    device_pid=""
    case $status in
    0 | 143) ;;
    *) echo "lab.sh: the devices command ended with status $status" >&2 ;;
    esac
}

cleanup() {
    stop_devices
    if [ -n "$ns_program" ]; then
        ip netns del "$ns_program" 2>/dev/null || true
        ip netns del "$ns_device" 2>/dev/null || true
    fi
    [ -z "$gate" ] || rm -rf "$gate"
}

# Enters a named namespace's network only. Unlike `ip netns exec` it remounts nothing, so it also
# works where / is no mount point of its own (a chroot, for one).
in_netns() {
    local name=$1
    shift
    nsenter --net="/run/netns/$name" -- "$@"
}

# Named namespaces; both ends of the pair are born in them, so the pair never exists where the
# real network is.
run_netns() {
    ns_device="kldev-$$"
    ip netns add "$ns_device"
    ip link add klp0 netns "$ns_program" type veth peer name kld0 netns "$ns_device"
    quiet_ipv6 in_netns "$ns_program" klp0
    quiet_ipv6 in_netns "$ns_device" kld0
    ip -n "$ns_program" link set lo up
    ip -n "$ns_program" addr add "$program_address/$prefix_length" dev klp0
    ip -n "$ns_program" link set klp0 up
    ip -n "$ns_program" route add default via "$device_address" dev klp0
    ip -n "$ns_device" link set lo up
    ip -n "$ns_device" addr add "$device_address/$prefix_length" dev kld0
    ip -n "$ns_device" link set kld0 up
    start_devices nsenter --net="/run/netns/$ns_device" --
    wait_until_ready
    local status=0
    in_netns "$ns_program" "$self" --checked-exec "$@" || status=$?
    return "$status"
}

# Runs in the fresh program namespace that unshare made; the device side is a child unshare,
# held at a gate until its end of the pair is in place.
program_side() {
    gate=$(mktemp -d)
    mkfifo "$gate/open"
    ip link set lo up
    # shellcheck disable=SC2016 # expanded by the inner shell
    start_devices unshare --net -- sh -c 'read -r _ <"$1"; shift; exec "$@"' gate "$gate/open"
    local step own_ns
    own_ns=$(readlink /proc/self/ns/net)
    for ((step = 0; step < ready_timeout_steps; ++step)); do
        [ "$(readlink "/proc/$device_pid/ns/net" 2>/dev/null)" = "$own_ns" ] || break
        sleep 0.1
    done
    [ "$(readlink "/proc/$device_pid/ns/net")" != "$own_ns" ] ||
        die "the device side did not get a namespace of its own"
    ip link add klp0 type veth peer name kld0 netns "$device_pid"
    quiet_ipv6 klp0
    quiet_ipv6 nsenter --net="/proc/$device_pid/ns/net" kld0
    ip addr add "$program_address/$prefix_length" dev klp0
    ip link set klp0 up
    ip route add default via "$device_address" dev klp0
    nsenter --net="/proc/$device_pid/ns/net" sh -c "
        ip link set lo up &&
        ip addr add $device_address/$prefix_length dev kld0 &&
        ip link set kld0 up"
    echo open >"$gate/open"
    wait_until_ready
    local status=0
    "$self" --checked-exec "$@" || status=$?
    return "$status"
}

# Real root makes the namespace directly; anyone else maps themselves to root in a new user
# namespace first.
run_unshare() {
    local map=()
    unshare --net true 2>/dev/null || map=(--map-root-user)
    unshare --net "${map[@]}" -- "$self" --program-side "$devices" "$wait_ports" -- "$@"
}

in_initial_user_namespace() {
    [ "$(id -u)" = 0 ] && awk '$1 == 0 && $2 == 0 && $3 == 4294967295 { found = 1 }
        END { exit !found }' /proc/self/uid_map
}

devices=""
wait_ports=""
device_pid=""
ns_program=""
ns_device=""
gate=""
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

case ${1:-} in
--checked-exec)
    shift
    checked_exec "$@"
    ;;
--program-side)
    devices=$2
    wait_ports=$3
    shift 4
    program_side "$@"
    exit
    ;;
esac

wait_ports_given=false
mode=auto
while [ $# -gt 0 ]; do
    case $1 in
    --devices)
        [ $# -ge 2 ] || die "--devices needs a command"
        devices=$2
        shift 2
        ;;
    --wait-udp)
        [ $# -ge 2 ] || die "--wait-udp needs a port list"
        [[ $2 =~ ^([0-9]+(,[0-9]+)*)?$ ]] || die "--wait-udp wants ports such as 43210,54321"
        wait_ports=$2
        wait_ports_given=true
        shift 2
        ;;
    --mode)
        [ $# -ge 2 ] || die "--mode needs auto, netns or unshare"
        mode=$2
        shift 2
        ;;
    -h | --help)
        usage
        exit 0
        ;;
    --)
        shift
        break
        ;;
    *)
        echo "lab.sh: unknown option '$1'" >&2
        usage >&2
        exit 2
        ;;
    esac
done
[ $# -gt 0 ] || {
    usage >&2
    exit 2
}
if [ -z "$devices" ]; then
    devices="exec sleep infinity"
elif ! $wait_ports_given; then
    wait_ports=43210,54321
fi

KL_LAB_ORIGIN_NS=$(readlink /proc/self/ns/net)
export KL_LAB_ORIGIN_NS

case $mode in
auto | netns)
    if { [ "$mode" = netns ] || in_initial_user_namespace; } &&
        ip netns add "klprog-$$" 2>/dev/null; then
        ns_program="klprog-$$"
        run_netns "$@"
    elif [ "$mode" = netns ]; then
        die "cannot make a named network namespace (needs real root)"
    else
        run_unshare "$@"
    fi
    ;;
unshare) run_unshare "$@" ;;
*) die "unknown mode '$mode'" ;;
esac
