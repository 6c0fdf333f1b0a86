#!/usr/bin/env bash
# Runs a Windows program under Wine in a throw-away prefix, and only inside a private network
# namespace (loopback and the lab's kl* links alone): Wine's sockets are the namespace's.
#
#   scripts/wine.sh PREFIX PROGRAM.exe [ARGS...]
#
# Windows get no display unless KESTRELINK_WINE_DISPLAY names one (a virtual X server started in
# the same namespace, say): a test's stray window must not open on a desktop.
#
# PREFIX is made on first use (wineboot takes a while), then reused. The Wine server serves one
# prefix wherever its clients run, and it makes their sockets in the namespace it started in: so
# one run at a time holds the prefix, and its server is ended when PROGRAM ends; the next run,
# perhaps in another namespace, starts one of its own there.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 PREFIX PROGRAM.exe [ARGS...]" >&2; exit 2; }

for name in $(ip -o link show | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }'); do
    case $name in
    lo | kl*) ;;
    *)
        echo "wine.sh: refusing to run: interface '$name' is not part of a private network" >&2
        exit 3
        ;;
    esac
done

WINEPREFIX=$(mkdir -p "$1" && cd "$1" && pwd)
shift
exec 9>"$WINEPREFIX.lock"
flock 9
# Quiet unless the caller asks for some of its notes.
export WINEPREFIX WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: nothing here needs .NET or a browser engine, and they would be downloaded.
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=${KESTRELINK_WINE_DISPLAY:-}

[ -f "$WINEPREFIX/system.reg" ] || wine wineboot --init >/dev/null 2>&1
# Without a display, windows are made by Wine's null driver: a test can still build dialogs.
graphics=null
[ -z "$DISPLAY" ] || graphics=x11
if ! grep -q "^\"Graphics\"=\"$graphics\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f >/dev/null 2>&1
    wineserver --wait
fi
status=0
wine "$@" || status=$?
wineserver --kill 2>/dev/null || true
exit "$status"
