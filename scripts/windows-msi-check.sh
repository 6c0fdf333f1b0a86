#!/usr/bin/env bash
# The Windows installer under Wine, in a throw-away prefix inside a private network namespace:
# msiexec installs it silently under Program Files with its Start-menu shortcut and uninstall
# entry, the installed command-line program starts and tells its version, the installed window
# opens on a virtual X server and closes, and msiexec removes it all again.
#
#   scripts/windows-msi-check.sh WINDOWS_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "windows-msi-check: $*" >&2
    exit 1
}

if [ "${1:-}" = --in-namespace ]; then
    package=$2 prefix=$3 version=$4
    wine_run() { "$here/wine.sh" "$prefix" "$@"; }
    installed="$prefix/drive_c/Program Files/Kestrelink"
    # Windows puts a per-machine package's shortcut in the common Start menu; Wine 8 puts it in
    # the installing user's.
    shortcut_in_start_menu() {
        find "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
            "$prefix/drive_c/users"/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs \
            -name Kestrelink.lnk 2>/dev/null | grep -q .
    }
    uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    # Wine's drive Z: is the Linux root.
    msi="Z:${package//\//\\}"

    wine_run msiexec /i "$msi" /qn
    for file in kestrelink.exe kestrelink-cli.exe kestrelink.html; do
        [ -f "$installed/$file" ] || fail "msiexec /i did not install $file under Program Files"
    done
    shortcut_in_start_menu || fail "msiexec /i made no Start-menu shortcut"
    entries=$(wine_run reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r')
    grep -q "DisplayName.*Kestrelink" <<<"$entries" || fail "no uninstall entry for Kestrelink"
    grep -q "DisplayVersion.*$version" <<<"$entries" || fail "the uninstall entry lacks $version"

    said=$(wine_run 'C:\Program Files\Kestrelink\kestrelink-cli.exe' --version | tr -d '\r')
    grep -qF "$version" <<<"$said" || fail "the installed kestrelink-cli.exe said '$said'"

    # The installed window: it opens, then Escape closes it and the program ends with status 0.
    display=:74
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true' EXIT
    export DISPLAY=$display
    tries=120
    until xdotool getdisplaygeometry >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "the virtual X server did not start"
        sleep 0.5
    done
    KESTRELINK_WINE_DISPLAY=$display wine_run 'C:\Program Files\Kestrelink\kestrelink.exe' &
    program=$!
    tries=120
    until window=$(xdotool search --onlyvisible --name '^Kestrelink 1\.' 2>/dev/null | head -n 1) &&
        [ -n "$window" ]; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || fail "the installed kestrelink.exe showed no window"
        sleep 0.5
    done
    xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key --clearmodifiers Escape
    status=0
    wait "$program" || status=$?
    [ "$status" = 0 ] || fail "the installed kestrelink.exe ended with status $status"

    wine_run msiexec /x "$msi" /qn
    [ ! -e "$installed/kestrelink.exe" ] || fail "msiexec /x left kestrelink.exe behind"
    ! shortcut_in_start_menu || fail "msiexec /x left the Start-menu shortcut behind"
    if wine_run reg query "$uninstall_key" /s 2>/dev/null | grep -q "DisplayName.*Kestrelink"; then
        fail "msiexec /x left the uninstall entry behind"
    fi
    echo "windows-msi-check: installed, started and removed under Wine"
    exit 0
fi

[ $# -eq 1 ] || { echo "usage: $0 WINDOWS_BUILD_DIR" >&2; exit 2; }
windows=$(readlink -f "$1")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$windows/CMakeCache.txt")
package="$windows/kestrelink-$version-x64.msi"
[ -f "$package" ] || fail "no $package: build it with make windows-package"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix" "$prefix.lock"' EXIT
"$here/in-private-network.sh" "$here/$(basename "$0")" --in-namespace "$package" "$prefix/wine" \
    "$version"
