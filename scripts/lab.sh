#!/usr/bin/env bash
# A private network of device segments: a program side and, per segment, a device side, each in a
# network namespace of its own; each device side is joined to the program side by a veth pair
# and nothing else. The program's broadcasts reach the devices and can reach nothing beyond them.
#
#   scripts/lab.sh [--devices "COMMAND"]... [--wait-udp PORTS] [--mode auto|netns|unshare] \
#                  -- PROGRAM [ARGS...]
#   scripts/lab.sh --add-segment [--devices "COMMAND"] [--wait-udp PORTS]
#
# Each --devices makes one segment; without any, there is one segment with an empty device side.
# Segment N, counting from 0: program side klpN, 10.(213+N).0.1/24; device side kldN,
# 10.(213+N).0.2/24. The program side's default route goes via the first segment, as on a
# laptop whose Wi-Fi holds the default route and whose wired port is cabled to the devices.
# Each COMMAND (a shell command line) runs in the background on its device side; PROGRAM runs
# in the foreground on the program side once every device side has bound the UDP PORTS
# (default, when a COMMAND is given: 43210,54321; an empty list waits for nothing). The exit
# status is PROGRAM's; the device sides are stopped (SIGTERM to their process groups) when
# PROGRAM ends.
#
# --add-segment runs on the program side of a running lab (PROGRAM, or anything it starts, may
# call it): it adds the next segment there, as if an adapter had been plugged in, prints
# "segment klpN ready" once its device side is ready, and holds it until it is ended (SIGTERM or
# SIGINT), when the segment goes again.
#
# Modes: netns uses named namespaces (`ip netns`, needs real root); unshare makes them with
# unshare(1), which also works inside an unprivileged user namespace such as the one
# scripts/in-private-network.sh makes. auto (the default) picks netns for real root, else
# unshare. Whatever the mode, a side whose namespace holds any interface other than loopback
# and kl* refuses to run its command.
#
# Examples:
#   scripts/lab.sh --devices "build/tools/devsim/kestrelink-devsim --devices08 5 --devices32 5" \
#       -- build/app/kestrelink
#   scripts/lab.sh --devices "kestrelink-devsim --first-ip 10.213.0.11" \
#       --devices "kestrelink-devsim --first-ip 10.214.0.11 --first-mac 02:00:00:00:01:01" \
#       -- build/app/kestrelink
set -euo pipefail

readonly prefix_length=24
readonly max_segments=16
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

# Segment N's address of host HOST: 1 on the program side, 2 on the device side.
segment_address() { # N HOST
    echo "10.$((213 + $1)).0.$2"
}

# Dies unless this is one of the lab's own namespaces.
require_lab_namespace() {
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
}

# Runs the rest of the command line after checking that this namespace is a private one.
checked_exec() {
    require_lab_namespace
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
    local step pid waiting
    for ((step = 0; step < ready_timeout_steps; ++step)); do
        waiting=false
        for pid in "${device_pids[@]}"; do
            kill -0 "$pid" 2>/dev/null || die "a devices command ended before it was ready"
            if [ -n "$wait_ports" ] && ! udp_ports_bound "$pid" "$wait_ports"; then
                waiting=true
            fi
        done
        $waiting || return 0
        sleep 0.1
    done
    die "a device side did not bind UDP $wait_ports within $((ready_timeout_steps / 10)) s"
}

# The lab speaks IPv4 only; this keeps the link free of IPv6 chatter. Best effort.
quiet_ipv6() { # enter-command... interface
    local interface=${*: -1}
    "${@:1:$#-1}" sh -c "echo 1 >/proc/sys/net/ipv6/conf/$interface/disable_ipv6" 2>/dev/null ||
        true
}

# setsid gives each device side a process group of its own, so that stopping it reaches every
# process its command started.
start_devices() { # COMMAND enter-command...
    local command=$1
    shift
    setsid "$@" "$self" --checked-exec sh -c "$command" &
    device_pids+=("$!")
}

stop_devices() {
    local pid status
    for pid in "${device_pids[@]}"; do
        kill -TERM -- "-$pid" 2>/dev/null || true
    done
    for pid in "${device_pids[@]}"; do
        status=0
        wait "$pid" || status=$?
        case $status in
        0 | 143) ;;
        *) echo "lab.sh: a devices command ended with status $status" >&2 ;;
        esac
    done
    device_pids=()
}

cleanup() {
    stop_devices
    local ns
    for ns in "${named_namespaces[@]}"; do
        ip netns del "$ns" 2>/dev/null || true
    done
    [ -z "$gate" ] || rm -rf "$gate"
}

# Enters a named namespace's network only. Unlike `ip netns exec` it remounts nothing, so it also
# works where / is no mount point of its own (a chroot, for one).
in_netns() {
    local name=$1
    shift
    nsenter --net="/run/netns/$name" -- "$@"
}

# Segment N between named namespaces; both ends of the pair are born in them, so the pair never
# exists where the real network is.
add_named_segment() { # N COMMAND
    local n=$1 ns_device="kldev-$$-$1"
    ip netns add "$ns_device"
    named_namespaces+=("$ns_device")
    ip link add "klp$n" netns "$ns_program" type veth peer name "kld$n" netns "$ns_device"
    quiet_ipv6 in_netns "$ns_program" "klp$n"
    quiet_ipv6 in_netns "$ns_device" "kld$n"
    ip -n "$ns_program" addr add "$(segment_address "$n" 1)/$prefix_length" dev "klp$n"
    ip -n "$ns_program" link set "klp$n" up
    ip -n "$ns_device" link set lo up
    ip -n "$ns_device" addr add "$(segment_address "$n" 2)/$prefix_length" dev "kld$n"
    ip -n "$ns_device" link set "kld$n" up
    start_devices "$2" nsenter --net="/run/netns/$ns_device" --
}

run_netns() {
    local n
    ip -n "$ns_program" link set lo up
    for n in "${!segments[@]}"; do
        add_named_segment "$n" "${segments[$n]}"
    done
    ip -n "$ns_program" route add default via "$(segment_address 0 2)" dev klp0
    wait_until_ready
    local status=0
    in_netns "$ns_program" "$self" --checked-exec "$@" || status=$?
    return "$status"
}

# Adds segment N to the namespace this runs in. The device side is a child unshare, held at a
# gate until its end of the pair is in place.
add_segment() { # N COMMAND
    local n=$1
    [ -n "$gate" ] || gate=$(mktemp -d)
    mkfifo "$gate/open$n"
    # shellcheck disable=SC2016 # expanded by the inner shell
    start_devices "$2" unshare --net -- sh -c 'read -r _ <"$1"; shift; exec "$@"' gate \
        "$gate/open$n"
    local pid=${device_pids[-1]} step own_ns
    own_ns=$(readlink /proc/self/ns/net)
    for ((step = 0; step < ready_timeout_steps; ++step)); do
        [ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" = "$own_ns" ] || break
        sleep 0.1
    done
    [ "$(readlink "/proc/$pid/ns/net")" != "$own_ns" ] ||
        die "the device side did not get a namespace of its own"
    ip link add "klp$n" type veth peer name "kld$n" netns "$pid"
    quiet_ipv6 "klp$n"
    quiet_ipv6 nsenter --net="/proc/$pid/ns/net" "kld$n"
    ip addr add "$(segment_address "$n" 1)/$prefix_length" dev "klp$n"
    ip link set "klp$n" up
    nsenter --net="/proc/$pid/ns/net" sh -c "
        ip link set lo up &&
        ip addr add $(segment_address "$n" 2)/$prefix_length dev kld$n &&
        ip link set kld$n up"
    echo open >"$gate/open$n"
}

# Runs in the fresh program namespace that unshare made.
program_side() {
    local n
    ip link set lo up
    for n in "${!segments[@]}"; do
        add_segment "$n" "${segments[$n]}"
    done
    ip route add default via "$(segment_address 0 2)" dev klp0
    wait_until_ready
    local status=0
    "$self" --checked-exec "$@" || status=$?
    return "$status"
}

# --add-segment: the next free klpN of this program side.
add_segment_here() {
    require_lab_namespace
    local n=0
    while ip link show "klp$n" >/dev/null 2>&1; do
        n=$((n + 1))
    done
    ((n < max_segments)) || die "at most $max_segments segments"
    add_segment "$n" "${segments[0]}"
    wait_until_ready
    echo "segment klp$n ready"
    local status=0
    wait "${device_pids[0]}" || status=$?
    device_pids=()
    return "$status"
}

# Real root makes the namespace directly; anyone else maps themselves to root in a new user
# namespace first.
run_unshare() {
    local map=()
    unshare --net true 2>/dev/null || map=(--map-root-user)
    unshare --net "${map[@]}" -- "$self" --program-side "$wait_ports" "${#segments[@]}" \
        "${segments[@]}" -- "$@"
}

in_initial_user_namespace() {
    [ "$(id -u)" = 0 ] && awk '$1 == 0 && $2 == 0 && $3 == 4294967295 { found = 1 }
        END { exit !found }' /proc/self/uid_map
}

segments=()
wait_ports=""
device_pids=()
named_namespaces=()
ns_program=""
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
    wait_ports=$2
    segments=("${@:4:$3}")
    shift $((3 + $3 + 1))
    program_side "$@"
    exit
    ;;
esac

add_segment_mode=false
wait_ports_given=false
mode=auto
while [ $# -gt 0 ]; do
    case $1 in
    --devices)
        [ $# -ge 2 ] || die "--devices needs a command"
        segments+=("$2")
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
    --add-segment)
        add_segment_mode=true
        shift
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
if $add_segment_mode && { [ $# -gt 0 ] || [ ${#segments[@]} -gt 1 ]; }; then
    die "--add-segment adds one segment and runs no program"
elif ! $add_segment_mode && [ $# -eq 0 ]; then
    usage >&2
    exit 2
fi
((${#segments[@]} <= max_segments)) || die "at most $max_segments segments"
if [ ${#segments[@]} -eq 0 ]; then
    segments=("exec sleep infinity")
elif ! $wait_ports_given; then
    wait_ports=43210,54321
fi

if $add_segment_mode; then
    add_segment_here
    exit
fi

KL_LAB_ORIGIN_NS=$(readlink /proc/self/ns/net)
export KL_LAB_ORIGIN_NS

case $mode in
auto | netns)
    if { [ "$mode" = netns ] || in_initial_user_namespace; } &&
        ip netns add "klprog-$$" 2>/dev/null; then
        ns_program="klprog-$$"
        named_namespaces+=("$ns_program")
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
