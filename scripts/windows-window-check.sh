#!/usr/bin/env bash
# kestrelink.exe under Wine on a virtual X server, on the program side of a two-segment lab with
# kestrelink-devsim on both segments, checked from outside the program as a user would drive it:
# the devices of both segments are listed (read row by row through Ctrl+C and the clipboard);
# Enter in the filter filters the list and leaves the window open; Cfg IP on the 8-bit device of
# the first segment, settings typed into the IP fields and Send give a request that reaches the
# device side byte for byte as expected, and after Discover the device is listed at its new
# address; "Configure Several..." from the list's menu, a start address, a name pattern and the
# password typed and Enter give every listed device its planned address, as the list then shows;
# Escape closes the window and the program ends with status 0. A screen shot of the window is
# saved.
#
#   scripts/windows-window-check.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [SCREENSHOT.png]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

readonly password=kl-secret
# The request the settings below must give: magic A5 A5, address 10.213.0.42, mask
# 255.255.255.0, gateway 10.213.0.2, the password in 16 bytes, the device's MAC.
readonly expected_request=a5a5\
0ad5002a\
ffffff00\
0ad50002\
6b6c2d73656372657400000000000000\
020000000001
step_timeout=40 # seconds a step may take before the check gives up

fail() {
    echo "windows-window-check: $*" >&2
    [ -z "${rows:-}" ] || printf 'windows-window-check: the rows last read:\n%s' "$rows" >&2
    # What the screen showed when it failed, beside the screen shot it would have taken.
    if [ -n "${DISPLAY:-}" ] && [ -n "${screenshot:-}" ]; then
        import -window root "${screenshot%.png}-failed.png" 2>/dev/null || true
    fi
    exit 1
}

# Runs "$@" every half second until it succeeds, giving up after step_timeout seconds.
poll() { # WHAT COMMAND...
    local what=$1 deadline=$((SECONDS + step_timeout))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "gave up waiting: $what"
        sleep 0.5
    done
}

if [ "${1:-}" = --program-side ]; then
    windows=$2 capture=$3 screenshot=$4
    # A display number of the server's own choosing: the X sockets' folder is shared with every
    # other check running on this machine.
    display_number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_number" >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$display_number"' EXIT
    poll "the virtual X server's display" test -s "$display_number"
    display=:$(head -n 1 "$display_number")
    export DISPLAY=$display
    x_server_ready() { xdotool getdisplaygeometry >/dev/null 2>&1; }
    poll "the virtual X server" x_server_ready

    KESTRELINK_WINE_DISPLAY=$display "$here/wine.sh" "$windows/wine-window" \
        "$windows/app/kestrelink.exe" &
    program=$!

    window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
    main_window=
    find_main_window() { main_window=$(window_named '^Kestrelink 1\.'); [ -n "$main_window" ]; }
    # A new prefix is made first, which can take minutes on a loaded machine.
    step_timeout=300 poll "the main window" find_main_window
    keys() { xdotool key --clearmodifiers --delay 60 "$@"; }
    focus_main_window() { xdotool windowfocus "$main_window" 2>/dev/null || true; }

    # The selected row as Ctrl+C puts it on the clipboard: its seven cells joined by tabs.
    copy_row() {
        # xclip stays behind to serve the emptied clipboard: not on this function's output.
        printf '' | xclip -selection clipboard >/dev/null 2>&1
        keys ctrl+c
        sleep 0.2
        timeout 5 xclip -selection clipboard -o 2>/dev/null || true
    }
    # Every listed row, from the top: Home selects the first, Down the next, until a row repeats.
    rows=
    read_rows() {
        focus_main_window
        keys Home
        rows=
        local row previous= count=0
        while [ "$count" -lt 16 ]; do
            row=$(copy_row)
            [ -n "$row" ] && [ "$row" != "$previous" ] || break
            rows+="$row"$'\n'
            previous=$row
            keys Down
            count=$((count + 1))
        done
    }
    listed() { # PATTERN...: read the rows until each pattern matches one of them
        read_rows
        local pattern
        for pattern in "$@"; do
            grep -qP -- "$pattern" <<<"$rows" || return 1
        done
    }
    poll "the devices of both segments" listed \
        '^10\.213\.0\.11\t02:00:00:00:00:01\t' '^10\.213\.0\.12\t02:00:00:00:00:02\t' \
        '^10\.214\.0\.11\t02:00:00:00:01:01\t' '^10\.214\.0\.12\t02:00:00:00:01:02\t'
    echo "windows-window-check: both segments listed:"
    printf '%s' "$rows"

    # Enter in the filter filters and nothing more: the filtered rows can still be read after it.
    # The filter is the tab stop before the list, which the tab stop after it.
    focus_main_window
    keys shift+Tab
    xdotool type --delay 60 10.214.
    keys Return Tab
    only_second_segment() {
        listed '^10\.214\.0\.11\t' '^10\.214\.0\.12\t' && ! grep -q '^10\.213\.' <<<"$rows"
    }
    poll "the filtered list after Enter in the filter" only_second_segment
    keys shift+Tab End shift+Home BackSpace Tab
    poll "the whole list again" listed '^10\.213\.0\.11\t' '^10\.214\.0\.11\t'
    echo "windows-window-check: Enter in the filter kept the window open"

    # Select the target: Home, then Down until the copied row is the device's.
    focus_main_window
    keys Home
    for _ in 1 2 3 4 5 6; do
        [[ "$(copy_row)" == $'10.213.0.11\t02:00:00:00:00:01\t'* ]] && break
        keys Down
    done
    [[ "$(copy_row)" == $'10.213.0.11\t02:00:00:00:00:01\t'*08bits ]] ||
        fail "could not select the 8-bit device of the first segment"

    # The list has the focus; the next two tab stops are Discover and Cfg IP.
    keys Tab Tab space
    dialog=
    find_dialog() { dialog=$(window_named '^IP Configuration$'); [ -n "$dialog" ]; }
    poll "the IP Configuration dialog" find_dialog
    xdotool windowfocus "$dialog" 2>/dev/null || true
    # Host name (not carried by this family), Use DHCP, the four address fields, the password.
    keys Tab Tab
    xdotool type --delay 60 10.213.0.42
    keys Tab
    xdotool type --delay 60 255.255.255.0
    keys Tab
    xdotool type --delay 60 10.213.0.2
    keys Tab Tab
    xdotool type --delay 60 "$password"
    keys Return

    confirmation=
    find_confirmation() { confirmation=$(window_named '^kestrelink$'); [ -n "$confirmation" ]; }
    poll "the confirmation box" find_confirmation
    request_arrived() { grep -qx "$expected_request" "$capture"; }
    if ! (step_timeout=10 poll "the request" request_arrived); then
        echo "windows-window-check: the device side received:" >&2
        grep '^a5a5' "$capture" >&2 || true
        fail "no request with the expected bytes reached the device side"
    fi
    echo "windows-window-check: the request reached the device side byte for byte"
    xdotool windowfocus "$confirmation" 2>/dev/null || true
    keys Return

    # Back in the main window, Cfg IP has the focus; Discover is the tab stop before it, and the
    # list the one before that.
    focus_main_window
    keys shift+Tab space shift+Tab
    poll "the device at its new address" listed '^10\.213\.0\.42\t02:00:00:00:00:01\t'
    echo "windows-window-check: the device took its new address"

    # Configure Several from the list's menu, by its mnemonic: every listed device, numbered.
    focus_main_window
    keys Home shift+F10
    sleep 0.5
    keys s
    several=
    find_several() { several=$(window_named '^Configure Several Devices$'); [ -n "$several" ]; }
    poll "the Configure Several Devices dialog" find_several
    xdotool windowfocus "$several" 2>/dev/null || true
    # Start address (focused), step, mask, gateway, DNS server, name pattern, password.
    xdotool type --delay 120 10.213.0.61
    keys Tab Tab
    xdotool type --delay 120 255.255.255.0
    keys Tab
    xdotool type --delay 120 10.213.0.1
    keys Tab Tab
    xdotool type --delay 120 "w-##"
    keys Tab
    xdotool type --delay 120 "$password"
    keys Return
    # Four devices that apply at once are confirmed within a round or two; Close asks first
    # while a run goes on, so it is pressed once the run is surely over.
    sleep 6
    xdotool windowfocus "$several" 2>/dev/null || true
    keys Escape
    closed_several() { [ -z "$(window_named '^Configure Several Devices$')" ]; }
    poll "the Configure Several Devices dialog to close" closed_several
    # The 8-bit device of the first segment got its numbered request, byte for byte: one of
    # 10.213.0.61 to .64 (the table's order is the list's), the mask and gateway typed, the
    # password, its MAC.
    numbered_request_arrived() {
        grep -qxE "a5a50ad500(3d|3e|3f|40)ffffff000ad50001${expected_request:28:32}020000000001" \
            "$capture"
    }
    poll "the numbered request at the device side" numbered_request_arrived
    echo "windows-window-check: Configure Several sent the numbered request byte for byte"

    import -window "$main_window" "$screenshot"

    focus_main_window
    keys Escape
    status=0
    wait "$program" || status=$?
    [ "$status" = 0 ] || fail "kestrelink.exe ended with status $status"
    [ -z "$(window_named '^Kestrelink 1\.')" ] || fail "the main window is still shown"
    echo "windows-window-check: listing, Cfg IP, Configure Several and close passed under Wine;" \
        "screen shot in" \
        "$screenshot"
    exit 0
fi

[ $# -ge 2 ] || { echo "usage: $0 LINUX_BUILD_DIR WINDOWS_BUILD_DIR [SCREENSHOT.png]" >&2; exit 2; }
devsim=$(readlink -f "$1/tools/devsim/kestrelink-devsim")
windows=$(readlink -f "$2")
screenshot=$(readlink -f "${3:-$windows/screenshot-windows.png}")
capture=$(mktemp)
trap 'rm -f "$capture"' EXIT
pair="$devsim --devices08 1 --devices32 1 --password $password"
"$here/lab.sh" \
    --devices "$here/udp-capture.py 43210 $capture & $pair --first-ip 10.213.0.11" \
    --devices "$pair --first-ip 10.214.0.11 --first-mac 02:00:00:00:01:01" \
    -- "$here/$(basename "$0")" --program-side "$windows" "$capture" "$screenshot"
