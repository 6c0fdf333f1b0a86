#!/usr/bin/env python3
"""The Qt window's device list and filter read by name through AT-SPI, as a screen reader reads
them: dbus-run-session -- window_accessibility_test.py KESTRELINK_PROGRAM. The program opens its
socket, so this runs only inside a private network namespace; it brings its own X server."""
import os
import socket
import subprocess
import sys
import tempfile
import time

EXPECTED = {("tree", "Devices"), ("text", "Filter")}  # (role, name)


def fail(text):
    sys.exit(f"window_accessibility_test: {text}")


def read_names(accessible):
    found = {(accessible.getRoleName(), accessible.name)}
    for child in accessible:
        if child is not None:
            found |= read_names(child)
    return found


def main():
    # The interfaces of this network namespace; a lab's own begin with "kl".
    foreign = [n for _, n in socket.if_nameindex() if n != "lo" and not n.startswith("kl")]
    if foreign:
        fail(f"interface {foreign[0]} is not in a private network namespace; run 'make test'")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp"],
                              pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    home = tempfile.TemporaryDirectory()
    program = subprocess.Popen([sys.argv[1]], env=dict(
        os.environ, QT_QPA_PLATFORM="xcb", HOME=home.name, XDG_CONFIG_HOME=home.name,
        QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    try:
        import pyatspi

        found, give_up = set(), time.monotonic() + 60
        while not EXPECTED <= found:
            if program.poll() is not None or time.monotonic() > give_up:
                fail(f"gave up waiting for {sorted(EXPECTED - found)}; read {sorted(found)}")
            time.sleep(0.5)
            found = read_names(pyatspi.Registry.getDesktop(0))
    finally:
        program.terminate()
        server.terminate()


main()
