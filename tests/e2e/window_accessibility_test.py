#!/usr/bin/env python3
"""The Qt window's device list and filter, read by name through AT-SPI as a screen reader reads them.

    dbus-run-session -- window_accessibility_test.py KESTRELINK_PROGRAM

Runs the program on a virtual X server of its own, so only inside a private network namespace: it
opens the program's socket. Status 0 when both names are read, 1 otherwise.
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

# What the window's tree must hold, as (role, name).
EXPECTED = {("tree", "Devices"), ("text", "Filter")}
GIVE_UP_AFTER = 60  # seconds for the window to appear on the accessibility bus


def fail(text):
    print(f"window_accessibility_test: {text}", file=sys.stderr)
    sys.exit(1)


def foreign_interfaces():
    # Those of this network namespace; a lab's own begin with "kl".
    return [name for _, name in socket.if_nameindex() if name != "lo" and not name.startswith("kl")]


def start_x_server():
    read, write = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as numbers:
        display = numbers.readline().strip()
    if not display:
        fail("the virtual X server did not start")
    return server, ":" + display


def named_roles(accessible, depth=0):
    found = {(accessible.getRoleName(), accessible.name)}
    if depth < 12:
        for index in range(accessible.childCount):
            child = accessible.getChildAtIndex(index)
            if child is not None:
                found |= named_roles(child, depth + 1)
    return found


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    foreign = foreign_interfaces()
    if foreign:
        fail(f"interface {foreign[0]} is not part of a private network namespace; run through "
             "'make test'")
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        fail("no D-Bus session: run under dbus-run-session")
    server, display = start_x_server()
    home = tempfile.TemporaryDirectory()
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home.name,
                       XDG_CONFIG_HOME=home.name, QT_ACCESSIBILITY="1",
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    os.environ["DISPLAY"] = display
    program = subprocess.Popen([sys.argv[1]], env=environment)
    try:
        import pyatspi

        found = set()
        deadline = time.monotonic() + GIVE_UP_AFTER
        while not EXPECTED <= found:
            if program.poll() is not None:
                fail(f"the program ended with status {program.returncode}")
            if time.monotonic() > deadline:
                fail(f"gave up waiting for {sorted(EXPECTED - found)}; read {sorted(found)}")
            time.sleep(0.5)
            desktop = pyatspi.Registry.getDesktop(0)
            found = set()
            for index in range(desktop.childCount):
                application = desktop.getChildAtIndex(index)
                if application is not None:
                    found |= named_roles(application)
        print("window_accessibility_test: read", sorted(EXPECTED))
    finally:
        program.terminate()
        program.wait()
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
