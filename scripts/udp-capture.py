#!/usr/bin/python3
"""Writes every UDP datagram that reaches PORT on this host to FILE, one line of hex each.

    udp-capture.py [--source] PORT FILE

With --source each line starts with the datagram's source address and a space.

Bound beside the simulator with SO_REUSEADDR, which on Linux hands every broadcast to each
socket bound to its port: the file shows byte for byte what the simulator received, and from
where. Runs only inside the lab's namespaces, never where a real interface is up.
"""
import socket
import sys


def only_lab_interfaces():
    # The namespace's own interfaces: /sys may still show those of the namespace it was made in.
    return all(name == "lo" or name.startswith("kl") for _, name in socket.if_nameindex())


def main():
    arguments = sys.argv[1:]
    with_source = arguments[:1] == ["--source"]
    if with_source:
        arguments = arguments[1:]
    if len(arguments) != 2:
        sys.exit("usage: udp-capture.py [--source] PORT FILE")
    port, path = int(arguments[0]), arguments[1]
    if not only_lab_interfaces():
        sys.exit("udp-capture.py: refusing to run outside a private network")
    receiver = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    receiver.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    receiver.bind(("0.0.0.0", port))
    with open(path, "a", encoding="ascii") as out:
        while True:
            datagram, (source, _) = receiver.recvfrom(65535)
            out.write((source + " " if with_source else "") + datagram.hex() + "\n")
            out.flush()


if __name__ == "__main__":
    main()
