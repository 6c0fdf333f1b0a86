#!/usr/bin/env bash
# kestrelink-cli.exe under Wine on the program side of the lab, against kestrelink-devsim on the
# Linux side: discovery lists both simulated devices, and a verified request moves one.
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
    found=$(cli discover --format json)
    expect discover "$found" '"mac": "02:00:00:00:00:01"'
    expect discover "$found" '"mac": "02:00:00:00:00:02"'
    cli configure 02:00:00:00:00:02 --ip 10.213.0.42 --mask 255.255.255.0 --gateway 10.213.0.2 \
        --verify
    expect "discover after configure" "$(cli discover --format csv)" \
        '^10\.213\.0\.42,02:00:00:00:00:02,'
    echo "windows-lab-check: discover and configure --verify passed under Wine"
    exit 0
fi

[ $# -eq 2 ] || { echo "usage: $0 LINUX_BUILD_DIR WINDOWS_BUILD_DIR" >&2; exit 2; }
devsim=$(readlink -f "$1/tools/devsim/kestrelink-devsim")
exec "$here/lab.sh" --devices "$devsim --devices08 1 --devices32 1 --first-ip 10.213.0.11" \
    -- "$here/$(basename "$0")" --program-side "$(readlink -f "$2")"
