"""What the integration tests share: free ports, readers of a program's
output, bounded waits, the tear-down of the programs a test started,
framing, the heads of the chat payloads they build, and the programs under
test from the command line."""
import argparse
import os
import socket
import subprocess
import threading
import time

WAIT = 15  # seconds, the bound of every wait; a test may set a longer one

# The host's configuration file: CR LF, a Shift-JIS value, a comment; every
# byte must survive the patch and the restore.
HOST_INI = (b"; RV/K3 settings\r\n[Server]\r\nHost = 127.0.0.1\r\nPath={path}\r\n"
            b"[User]\r\nName=\x83\x66\x83\x82\r\n")

# Payload heads.
LOGIN = b"\x01\x06\x03"
CHAT_TEXT = b"\x01\x0E\x00"
WHISPER = b"\x01\x11\x00"
OWN_AVATAR = b"\x01\x03\x05"
OWN_ROOM_ENTRY = b"\x01\x05\x00"
NAMED = b"\x00"  # then a counted name
WHISPER_SENT = b"\x11\x00"  # after the target's name
AVATAR_PROPERTY = b"\x03\x05"  # after the object's name
OBJECT_NAMING = b"\xFF\x0D"
ROOM_POSITION_BATCH = b"\xFE\x12"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Reader(threading.Thread):
    """Collects a program's text as it comes: from a pipe, or from the
    master end of its terminal (a file descriptor)."""

    def __init__(self, source):
        super().__init__(daemon=True)
        if isinstance(source, int):
            self.read = lambda: os.read(source, 4096)
        else:
            self.read = lambda: source.read1(4096)
        self.text, self.lock = "", threading.Lock()
        self.start()

    def run(self):
        while True:
            try:
                chunk = self.read()
            except OSError:  # a terminal's master end once the program has gone
                return
            if not chunk:
                return
            with self.lock:
                self.text += chunk.decode("utf-8", "replace")

    def get(self):
        with self.lock:
            return self.text


def end_processes(procs):
    """A test's tear-down: kills those still running, reaps each and closes
    its pipes."""
    for p in procs:
        if p.poll() is None:
            p.kill()
        p.wait()
        for s in (p.stdin, p.stdout, p.stderr):
            if s:
                s.close()


def wait_end(proc, what, detail=lambda: ""):
    """The exit status of a program that must end within the bound."""
    try:
        return proc.wait(WAIT)
    except subprocess.TimeoutExpired:
        raise AssertionError(what + " did not end" + detail())


def wait_for(what, predicate, timeout=None, detail=lambda: ""):
    end = time.monotonic() + (WAIT if timeout is None else timeout)
    while time.monotonic() < end:
        if predicate():
            return
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what + detail())


def counted(data):
    return bytes([len(data)]) + data


def frame(payload):
    assert 0 < len(payload) <= 254
    return bytes([len(payload) + 1]) + payload


def programs(*names):
    """The absolute paths given as --cli (always) and --NAME for each name,
    then the arguments left for unittest."""
    parser = argparse.ArgumentParser()
    for name in ("cli",) + names:
        parser.add_argument("--" + name, required=True)
    args, rest = parser.parse_known_args()
    return [os.path.abspath(getattr(args, n)) for n in ("cli",) + names], rest
