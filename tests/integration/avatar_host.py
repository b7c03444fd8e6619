#!/usr/bin/env python3
"""A host for the avatar exchange tests: it logs in through Tellu, wears the
avatar it is given, enters a room, then records every payload Tellu sends it,
one hexadecimal line each, until the connection closes.

The server name comes from the host's configuration file as Tellu patched it,
so the test also sees that the launch pointed the host at Tellu.
"""
import argparse
import socket
import sys

from harness import LOGIN, OWN_AVATAR, OWN_ROOM_ENTRY, counted


def server_name(ini, section, key):
    current = None
    with open(ini, "rb") as f:
        for raw in f.read().split(b"\n"):
            line = raw.strip().decode("latin-1")
            if line.startswith("[") and line.endswith("]"):
                current = line[1:-1].lower()
            elif current == section.lower() and "=" in line:
                k, v = line.split("=", 1)
                if k.strip().lower() == key.lower():
                    return v.strip()
    return "127.0.0.1"


def greeting(name, avatar, room):
    login = LOGIN + counted(b"avatar-test") + b"\x04" + counted(b"") + b"\x05" + \
        counted(name.encode())
    wear = OWN_AVATAR + counted(avatar.encode("latin-1"))
    # x 16, y 32, z 0, dir 0: somewhere in the room.
    enter = OWN_ROOM_ENTRY + bytes([room]) + b"\x00\x10\x00\x20\x00\x00\x00\x00"
    return [login, wear, enter]


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--ini", required=True)
    p.add_argument("--section", default="Server")
    p.add_argument("--key", default="Host")
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--name", required=True)
    p.add_argument("--avatar", required=True)
    p.add_argument("--room", type=int, default=1)
    p.add_argument("--record", required=True)
    a = p.parse_args()

    sock = socket.create_connection((server_name(a.ini, a.section, a.key), a.port), timeout=10)
    sock.settimeout(None)
    for payload in greeting(a.name, a.avatar, a.room):
        sock.sendall(bytes([len(payload) + 1]) + payload)
    pending = b""
    with open(a.record, "a") as record:
        while True:
            data = sock.recv(4096)
            if not data:
                return 0
            pending += data
            # One length byte (payload length + 1), then the payload.
            while pending and len(pending) >= pending[0]:
                size = pending[0]
                if size == 0:  # no such frame: skip the byte rather than stall
                    pending = pending[1:]
                    continue
                record.write(pending[1:size].hex() + "\n")
                record.flush()
                pending = pending[size:]


if __name__ == "__main__":
    sys.exit(main())
