#!/usr/bin/env bash
# Runs window_pace_bench.exe under Wine beside the simulator's 6,000 devices answering in one
# burst, both in one private network namespace of their own.
#
#   bench/win32/window_pace.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] || { echo "usage: $0 LINUX_BUILD_DIR WINDOWS_BUILD_DIR" >&2; exit 2; }

if [ "${KESTRELINK_IN_PRIVATE_NETWORK:-}" != 1 ]; then
    KESTRELINK_IN_PRIVATE_NETWORK=1 exec "$here/../../scripts/in-private-network.sh" "$0" "$@"
fi
devsim=$(readlink -f "$1/tools/devsim/kestrelink-devsim")
windows=$(readlink -f "$2")
log=$(mktemp)
"$devsim" --devices08 3000 --devices32 3000 --burst --seed 1 >"$log" 2>&1 &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 50); do
    grep -q listening "$log" && break
    sleep 0.1
done
grep -q listening "$log" || { echo "window_pace.sh: the simulator did not start" >&2; exit 2; }
"$here/../../scripts/wine.sh" "$windows/wine" "$windows/bench/window_pace_bench.exe"
