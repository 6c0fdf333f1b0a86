#!/usr/bin/env bash
# The Windows installer. Its tables: the firewall's rules are added and removed by deferred actions
# that run the system's netsh as the installer's service, and an older product is removed before
# this one is installed. Then under Wine, in a throw-away prefix inside a private network namespace:
# msiexec installs it silently under Program Files with its Start-menu shortcut, uninstall entry and
# the rules for both installed programs, the installed command-line program tells its version, the
# installed window opens on a virtual X server and closes, and msiexec removes it all, rules too.
# Last, packages of two builds that differ in the fourth field alone, made from the same programs:
# the newer installed over the older leaves one uninstall entry, the newer's, with the newer's
# files and firewall rules in place, and the older then refuses to install over it.
#
#   scripts/windows-msi-check.sh WINDOWS_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "windows-msi-check: $*" >&2
    exit 1
}

if [ "${1:-}" = --in-namespace ]; then
    package=$2 prefix=$3 version=$4 product_version=$5 older=$6 newer=$7 newer_help_page=$8
    wine_run() { "$here/wine.sh" "$prefix" "$@"; }
    # Z: is the Linux root under Wine.
    windows_path() { echo "Z:${1//\//\\}"; }
    installed="$prefix/drive_c/Program Files/Kestrelink"
    # Windows puts a per-machine package's shortcut in the common Start menu; Wine 8 puts it in
    # the installing user's.
    shortcut_in_start_menu() {
        find "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
            "$prefix/drive_c/users"/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs \
            -name Kestrelink.lnk 2>/dev/null | grep -q .
    }
    uninstall_entries() {
        wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s \
            2>/dev/null | tr -d '\r'
    }
    # Wine's netsh does nothing, but names each command it is given in a note of its own.
    netsh_log=$(mktemp)
    msiexec_noting_netsh() {
        WINEDEBUG=-all,fixme+netsh wine_run msiexec "$@" 2>"$netsh_log"
        sed -n 's/^[0-9a-f]*:fixme:netsh:wmain stub: //p' "$netsh_log"
    }
    netsh='L"C:\\windows\\system32\\netsh.exe" L"advfirewall" L"firewall"'
    add_window_rule="$netsh"' L"add" L"rule" L"name=Kestrelink" L"dir=in" L"action=allow" L"program=C:\\Program Files\\Kestrelink\\kestrelink.exe" L"protocol=udp" L"localport=54320" L"remoteip=any" L"profile=any" L"enable=yes"'
    add_command_line_rule="$netsh"' L"add" L"rule" L"name=Kestrelink command line" L"dir=in" L"action=allow" L"program=C:\\Program Files\\Kestrelink\\kestrelink-cli.exe" L"protocol=udp" L"localport=54320" L"remoteip=any" L"profile=any" L"enable=yes"'
    remove_window_rule="$netsh"' L"delete" L"rule" L"name=Kestrelink" L"dir=in"'
    remove_command_line_rule="$netsh"' L"delete" L"rule" L"name=Kestrelink command line" L"dir=in"'

    said=$(msiexec_noting_netsh /i "$(windows_path "$package")" /qn)
    for file in kestrelink.exe kestrelink-cli.exe kestrelink.html; do
        [ -f "$installed/$file" ] || fail "msiexec /i did not install $file under Program Files"
    done
    shortcut_in_start_menu || fail "msiexec /i made no Start-menu shortcut"
    for command in "$add_window_rule" "$add_command_line_rule"; do
        grep -qxF "$command" <<<"$said" || fail "msiexec /i ran no netsh $command; it ran: $said"
    done
    entries=$(uninstall_entries)
    grep -q "DisplayName.*Kestrelink" <<<"$entries" || fail "no uninstall entry for Kestrelink"
    grep -q "DisplayVersion.*$product_version" <<<"$entries" ||
        fail "the uninstall entry lacks $product_version"

    said=$(wine_run 'C:\Program Files\Kestrelink\kestrelink-cli.exe' --version | tr -d '\r')
    grep -qF "$version" <<<"$said" || fail "the installed kestrelink-cli.exe said '$said'"

    # The installed window: it opens, then Escape closes it and the program ends with status 0.
    display=:74
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$netsh_log"' EXIT
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

    said=$(msiexec_noting_netsh /x "$(windows_path "$package")" /qn)
    [ ! -e "$installed/kestrelink.exe" ] || fail "msiexec /x left kestrelink.exe behind"
    ! shortcut_in_start_menu || fail "msiexec /x left the Start-menu shortcut behind"
    if uninstall_entries | grep -q "DisplayName.*Kestrelink"; then
        fail "msiexec /x left the uninstall entry behind"
    fi
    for command in "$remove_window_rule" "$remove_command_line_rule"; do
        grep -qxF "$command" <<<"$said" || fail "msiexec /x ran no netsh $command; it ran: $said"
    done
    ! grep -q '"add"' <<<"$said" || fail "msiexec /x added a firewall rule: $said"

    wine_run msiexec /i "$(windows_path "$older")" /qn
    grep -q "DisplayVersion.*1\.31\.3600" <<<"$(uninstall_entries)" ||
        fail "the older package made no uninstall entry of 1.31.3600"
    said=$(msiexec_noting_netsh /i "$(windows_path "$newer")" /qn)
    # The older product's removal deletes its rules; the newer's must come after and stay.
    for rule in 'L"name=Kestrelink" ' 'L"name=Kestrelink command line" '; do
        last=$(grep -F "$rule" <<<"$said" | tail -n 1)
        grep -qF ' L"add" ' <<<"$last" || fail "after the upgrade netsh last ran: $last"
    done
    entries=$(uninstall_entries)
    count=$(grep -c "DisplayName.*Kestrelink" <<<"$entries" || true)
    [ "$count" = 1 ] || fail "after the upgrade $count uninstall entries name Kestrelink"
    grep -q "DisplayVersion.*1\.31\.3601" <<<"$entries" ||
        fail "after the upgrade the entry is not the newer package's 1.31.3601"
    cmp -s "$installed/kestrelink.html" "$newer_help_page" ||
        fail "after the upgrade the help page is not the newer package's"
    for file in kestrelink.exe kestrelink-cli.exe; do
        [ -f "$installed/$file" ] || fail "after the upgrade $file is missing"
    done
    if wine_run msiexec /i "$(windows_path "$older")" /qn; then
        fail "the older package installed over the newer one"
    fi
    count=$(uninstall_entries | grep -c "DisplayVersion.*1\.31\.3601" || true)
    [ "$count" = 1 ] || fail "the older package's refusal left $count entries of 1.31.3601"
    wine_run msiexec /x "$(windows_path "$newer")" /qn
    [ ! -e "$installed/kestrelink.exe" ] || fail "removing the upgrade left kestrelink.exe behind"
    echo "windows-msi-check: installed, started, removed and upgraded under Wine"
    exit 0
fi

[ $# -eq 1 ] || { echo "usage: $0 WINDOWS_BUILD_DIR" >&2; exit 2; }
windows=$(readlink -f "$1")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$windows/CMakeCache.txt")
package="$windows/kestrelink-$version-x64.msi"
[ -f "$package" ] || fail "no $package: build it with make windows-package"
table() { msiinfo export "$package" "$1" | tr -d '\r'; }

# table_holds TABLE ROW...: each row is in the table, whole.
table_holds() {
    local name=$1 rows
    shift
    rows=$(table "$name")
    for row in "$@"; do
        grep -qxF "$row" <<<"$rows" || fail "the $name table lacks: $row"
    done
}
# Each row ends in an empty ExtendedType. 3186: an executable named by a property (50), whose
# failure stops nothing (64), in the script (1024), as the installer's service, not the user (2048).
table_holds CustomAction \
    $'RemoveWindowFirewallRule\t3186\tNETSH\tadvfirewall firewall delete rule name="Kestrelink" dir=in\t' \
    $'RemoveCommandLineFirewallRule\t3186\tNETSH\tadvfirewall firewall delete rule name="Kestrelink command line" dir=in\t' \
    $'AddWindowFirewallRule\t3186\tNETSH\tadvfirewall firewall add rule name="Kestrelink" dir=in action=allow program="[#kestrelink.exe]" protocol=udp localport=54320 remoteip=any profile=any enable=yes\t' \
    $'AddCommandLineFirewallRule\t3186\tNETSH\tadvfirewall firewall add rule name="Kestrelink command line" dir=in action=allow program="[#kestrelink_cli.exe]" protocol=udp localport=54320 remoteip=any profile=any enable=yes\t'
grep -qP '^FindNetsh\t\d+\tNETSH\t\[System64Folder\]netsh\.exe\t$' <<<"$(table CustomAction)" ||
    fail "no action sets NETSH to the system's netsh.exe"
table_holds InstallExecuteSequence \
    $'FindNetsh\t\t1001' \
    $'InstallValidate\t\t1400' \
    $'RemoveExistingProducts\t\t1401' \
    $'InstallInitialize\t\t1500' \
    $'RemoveWindowFirewallRule\t$Window=2 OR $Window=3\t3491' \
    $'RemoveCommandLineFirewallRule\t$CommandLine=2 OR $CommandLine=3\t3492' \
    $'RemoveFiles\t\t3500' \
    $'InstallFiles\t\t4000' \
    $'AddWindowFirewallRule\t$Window=3\t4001' \
    $'AddCommandLineFirewallRule\t$CommandLine=3\t4002'
product_version=$(table Property | sed -n 's/^ProductVersion\t//p')

# Two builds of the same programs, the older with a help page of its own.
work=$(mktemp -d)
trap 'rm -rf "$work" "$work.lock"' EXIT
inputs="$windows/packaging/windows/package-inputs.cmake"
help_page=$(sed -n 's/^set(help_page \[\[\(.*\)\]\])$/\1/p' "$inputs")
{ cat "$help_page"; echo '<!-- the older build -->'; } >"$work/older.html"
{ cat "$inputs"; echo "set(help_page [[$work/older.html]])"; } >"$work/older-inputs.cmake"
package_as() {
    env -u SIGN_PKCS12 -u SIGN_PASSWORD_FILE -u SIGN_TIMESTAMP_URL cmake -DINPUTS="$1" \
        -DVERSION="$2" -DOUTPUT="$3" -P "$here/../packaging/windows/package.cmake" >/dev/null 2>&1 ||
        fail "could not package version $2"
}
package_as "$work/older-inputs.cmake" 1.3.1.3600 "$work/older.msi"
package_as "$inputs" 1.3.1.3601 "$work/newer.msi"

"$here/in-private-network.sh" "$here/$(basename "$0")" --in-namespace "$package" "$work/wine" \
    "$version" "$product_version" "$work/older.msi" "$work/newer.msi" "$help_page"
