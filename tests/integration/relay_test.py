#!/usr/bin/env python3
"""tellu-cli's relay on loopback sockets, between the tests' own fake host and
fake chat server, which speak framed messages and check exact bytes.

The launched host program does nothing: the fake host connects to the
listening port itself.  Every wait is bounded; the only pauses are the ones
that split a frame across two deliveries.
"""
import os
import re
import select
import signal
import socket
import stat
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from harness import (CHAT_TEXT, HOST_INI, LOGIN, NAMED, WAIT, WHISPER, WHISPER_SENT, Reader,
                     counted, end_processes, frame, free_port, programs, wait_end, wait_for)

CLI = None
PACE = 0.05  # seconds between the pieces of a split frame


def frames(*payloads):
    return b"".join(frame(p) for p in payloads)


def wstr(text):
    """A counted string in wire text (UTF-8)."""
    return counted(text.encode("utf-8") if isinstance(text, str) else text)


def pos(x, y, z, d):
    return struct.pack(">hhhh", x, y, z, d)


def login(name):
    return LOGIN + wstr("pw") + b"\x04" + wstr("avatar\\Vavar.uza") + b"\x05" + wstr(name)


def chat_text(speaker, text):
    return CHAT_TEXT + wstr(speaker) + wstr(text)


def whisper_in(speaker, text):
    return WHISPER + wstr(speaker) + wstr(text)


def whisper_out(target, sender, text):
    return NAMED + wstr(target) + WHISPER_SENT + wstr(sender) + wstr(text)


def non_loopback_address():
    """An IPv4 address of this machine outside 127.0.0.0/8, or None."""
    try:
        out = subprocess.run(["ip", "-4", "-o", "addr", "show"], capture_output=True,
                             text=True, timeout=WAIT).stdout
    except (OSError, subprocess.SubprocessError):
        return None
    for address in re.findall(r"inet (\d+\.\d+\.\d+\.\d+)/", out):
        if not address.startswith("127."):
            return address
    return None


class Party:
    """One end of a TCP connection with bounded reads."""

    def __init__(self, sock):
        self.sock = sock
        self.sock.settimeout(WAIT)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def send(self, data):
        self.sock.sendall(data)

    def send_split(self, *pieces):
        """Each piece in its own delivery."""
        for i, piece in enumerate(pieces):
            if i:
                time.sleep(PACE)
            self.sock.sendall(piece)

    def recv_exact(self, n):
        data = b""
        while len(data) < n:
            try:
                chunk = self.sock.recv(n - len(data))
            except socket.timeout:
                raise AssertionError("timed out after %d of %d bytes: %r" % (len(data), n, data))
            if not chunk:
                raise AssertionError("closed after %d of %d bytes: %r" % (len(data), n, data))
            data += chunk
        return data

    def expect(self, test, data):
        test.assertEqual(self.recv_exact(len(data)), data)

    def closed(self):
        """True once the other side has closed (EOF or reset), within WAIT."""
        end = time.monotonic() + WAIT
        while time.monotonic() < end:
            try:
                if self.sock.recv(4096) == b"":
                    return True
            except socket.timeout:
                return False
            except ConnectionResetError:
                return True
        return False

    def close(self):
        self.sock.close()


class FakeServer:
    """The chat server: a listening socket whose connections are Parties."""

    def __init__(self, address="127.0.0.1", port=0):
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((address, port))
        self.listener.listen(5)
        self.port = self.listener.getsockname()[1]

    def accept(self, timeout=WAIT):
        self.listener.settimeout(timeout)
        try:
            sock, _ = self.listener.accept()
        except socket.timeout:
            raise AssertionError("tellu-cli did not connect to the server")
        return Party(sock)

    def pending(self):
        """True when a connection is waiting to be accepted."""
        self.listener.settimeout(0)
        try:
            sock, _ = self.listener.accept()
        except (BlockingIOError, socket.timeout):
            return False
        sock.close()
        return True

    def close(self):
        self.listener.close()


class RelayTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tellu-relay-")
        self.windows = os.path.join(self.dir, "windows")
        self.host_dir = os.path.join(self.dir, "rvk3")
        self.logs = os.path.join(self.dir, "logs")
        for d in (self.windows, self.host_dir, self.logs):
            os.mkdir(d)
        self.ini = os.path.join(self.windows, "RVK3.INI")
        self.original = HOST_INI.replace(b"{path}", self.host_dir.encode())
        with open(self.ini, "wb") as f:
            f.write(self.original)
        # The launched host program: the tests play the host themselves.
        program = os.path.join(self.host_dir, "rvk3")
        with open(program, "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(program, 0o755)
        self.server = FakeServer()
        self.listen_port = free_port()
        self.cli = None
        self.parties = []

    def tearDown(self):
        for p in self.parties:
            p.close()
        self.server.close()
        if self.cli:
            end_processes([self.cli])

    def write_tellu_ini(self, extra="", slot=None):
        if slot is None:
            slot = ("INIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\n"
                    "PROG=&\\rvk3\r\nSearchTimer=20\r\nLogChk=1\r\nLogName={logs}/tellu\r\n"
                    .format(logs=self.logs))
        text = "[SYSTEM]\r\nRN={rn}\r\nSN={sn}\r\n[SYS1]\r\n".format(
            rn=self.listen_port, sn=self.server.port)
        with open(os.path.join(self.windows, "TELLU.INI"), "w") as f:
            f.write(text + slot + extra)

    def run_cli(self, env=None):
        self.cli = subprocess.Popen([CLI, "--windows-dir", self.windows, "--avatar-requests", "no",
                                     "S1"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, cwd=self.dir, env=env)
        self.out, self.err = Reader(self.cli.stdout), Reader(self.cli.stderr)
        return self.cli

    def finish(self):
        return wait_end(self.cli, "tellu-cli", lambda: "; stderr:\n" + self.err.get())

    def connect(self, source=None):
        """A connection to tellu-cli's listening port, once it listens."""
        end = time.monotonic() + WAIT
        while True:
            sock = socket.socket()
            if source:
                sock.bind((source, 0))
            try:
                sock.connect(("127.0.0.1", self.listen_port))
                party = Party(sock)
                self.parties.append(party)
                return party
            except ConnectionRefusedError:
                sock.close()
                if time.monotonic() > end:
                    raise AssertionError("tellu-cli never listened; stderr:\n" + self.err.get())
                time.sleep(0.05)

    def start_relay(self, name="Bench", server=None):
        """tellu-cli, the fake host logged in and the fake server (by default
        self.server) connected."""
        self.write_tellu_ini()
        self.run_cli()
        host = self.connect()
        server = (server or self.server).accept()
        self.parties.append(server)
        host.send(frame(login(name)))
        server.expect(self, frame(login(name)))
        return host, server

    def wait_restored(self):
        wait_for("the end of the wait", lambda: "the host is connected" in self.err.get())
        self.assert_restored()

    def assert_restored(self):
        with open(self.ini, "rb") as f:
            self.assertEqual(f.read(), self.original)
        self.assertFalse(os.path.exists(os.path.join(self.windows, "RVK3.sav")))

    def stop(self):
        self.cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(), 0, self.err.get())

    # ---- framing

    def test_split_and_merged_frames_pass_both_ways_byte_for_byte(self):
        self.write_tellu_ini()
        self.run_cli()
        host = self.connect()
        server = self.server.accept()
        self.parties.append(server)
        # The login with its length byte alone in the first delivery.
        login_frame = frame(login("Bench"))
        host.send_split(login_frame[:1], login_frame[1:])
        server.expect(self, login_frame)

        unknown = b"\x01\x7F" + bytes(range(252))  # the largest payload: length byte 255
        self.assertEqual(frame(unknown)[0], 255)
        up = frames(b"\x01\x0E\x00hello everyone", whisper_out("Aki", "Bench", "psst"), unknown)
        split = frame(b"\x01\x0E\x00" + "だれかいますか".encode("utf-8"))
        # Three whole frames and the head of a fourth, then its tail.
        host.send_split(up + split[:5], split[5:])
        server.expect(self, up + split)

        down = frames(chat_text("Aki", "hi Bench"), whisper_in("Aki", "a secret"), b"\x01\x55\x00",
                      unknown)
        split = frame(chat_text("Ben", "x" * 100))
        # Frames, then one cut into three deliveries: length byte, part, rest.
        server.send_split(down, split[:1], split[1:40], split[40:])
        host.expect(self, down + split)
        # Length bytes 0 and 1 carry nothing and are not passed on.
        server.send(b"\x00\x01" + frame(chat_text("Ben", "after empty frames")))
        host.expect(self, frame(chat_text("Ben", "after empty frames")))
        self.wait_restored()
        self.stop()

    # ---- the parser's verdicts

    def test_swallowed_and_rebuilt_messages(self):
        host, server = self.start_relay("Bench")
        # Host to server: an own move reaches the server with the z and dir
        # marks, the own avatar with its true length, the room position with
        # 02 02; the avatar request for the user's own name never leaves.
        marker_up = b"\x01\x0E\x00marker"
        host.send(frames(
            b"\x01\x01" + pos(300, -200, 100, 90),
            b"\x01\x03\x05\x63avatar\\a.mov",
            b"\x01\x12\x00\x07\x09\x09" + pos(-5, 7, 33, -100),
            b"\x00" + wstr("Bench") + b"\x0A\x05",
            marker_up))
        server.expect(self, frames(
            b"\x01\x01" + pos(300, -200, 97, 80),
            b"\x01\x03\x05\x0Cavatar\\a.mov",
            b"\x01\x12\x00\x07\x02\x02" + pos(-5, 7, 33, -112),
            marker_up))
        # The avatar request is answered to the host, with the ghost's avatar
        # (none shown: empty).
        host.expect(self, frame(b"\x00" + wstr("Bench") + b"\x03\x05\x00"))

        # Server to host.
        def record(obj, skipped, room, p):
            return bytes([obj, skipped, room]) + p
        marker_down = chat_text("Aki", "marker")
        server.send(frames(
            # An object move cut short is rebuilt whole.
            b"\x03\x01\x00\x0A\x00",
            # A position batch keeps only the records of objects 2 to 11.
            b"\xFE\x0C" + record(0, 7, 1, pos(1, 1, 1, 1)) + record(3, 7, 2, pos(10, 20, 30, 40))
            + record(12, 7, 1, pos(2, 2, 2, 2)),
            # An event batch goes out one record at a time, skipping object 1.
            b"\xFE\x04\x01\xAA\xBB\xCC\x04\x11\x22\x33\x05\x44\x55\x66",
            # Naming an object out of range is still shown to the host.
            b"\xFF\x0D" + wstr("Nobody") + b"\x0C",
            # A room position batch: one message per record, skipping object 0.
            b"\xFE\x12" + bytes([0, 9, 1, 7, 7]) + pos(0, 0, 0, 0)
            + bytes([6, 9, 1, 0xAB, 0xCD]) + pos(5, 6, 7, 8),
            # An object release passes unchanged, as do moves of other objects.
            b"\xFE\x0B\x05",
            b"\x01\x01" + pos(1, 2, 3, 4),
            marker_down))
        host.expect(self, frames(
            b"\x03\x01" + pos(10, 0, 0, 0),
            b"\xFE\x0C\x03\x00\x02" + pos(10, 20, 30, 40),
            b"\xFE\x04\x04\x11\x22\x33",
            b"\xFE\x04\x05\x44\x55\x66",
            b"\xFF\x0D" + wstr("Nobody") + b"\x0C",
            b"\xFE\x12\x06\x00\x01\xAB\xCD" + pos(5, 6, 7, 8),
            b"\xFE\x0B\x05",
            b"\x01\x01" + pos(1, 2, 3, 4),
            marker_down))
        self.stop()

    # ---- who may connect

    def test_second_connection_is_a_peer_greeted_ok(self):
        host, server = self.start_relay()
        peer = self.connect()
        peer.expect(self, b"ok\n")
        # What a peer sends never reaches the server.
        peer.send(frame(b"\x01\x0E\x00from the peer"))
        marker = frame(b"\x01\x0E\x00from the host")
        host.send(marker)
        server.expect(self, marker)
        # The relay still runs both ways.
        server.send(frame(chat_text("Aki", "still here")))
        host.expect(self, frame(chat_text("Aki", "still here")))
        self.assertFalse(self.server.pending())

        # Once the host has gone the server connection ends, and the next
        # connection is a peer too, not a new host.
        host.close()
        self.parties.remove(host)
        self.assertTrue(server.closed(), "the server connection outlived the host's")
        late = self.connect()
        late.expect(self, b"ok\n")
        self.assertFalse(self.server.pending())
        self.stop()

    def test_non_loopback_connection_is_refused_as_host(self):
        address = non_loopback_address()
        if not address:
            self.skipTest("this machine has no IPv4 address outside 127.0.0.0/8 to connect from")
        self.write_tellu_ini()
        self.run_cli()
        # Bound to the machine's own outside address, aimed at loopback.
        stranger = self.connect(source=address)
        self.assertTrue(stranger.closed(), "a connection from %s was kept" % address)
        self.assertFalse(self.server.pending(), "a stranger made tellu-cli connect to the server")
        # The host from this machine still gets the relay.
        host = self.connect()
        server = self.server.accept()
        self.parties.append(server)
        host.send(frame(login("Bench")))
        server.expect(self, frame(login("Bench")))
        self.wait_restored()
        self.stop()

    # ---- a host that does not read

    def test_host_that_does_not_read_holds_the_server_back(self):
        host, server = self.start_relay()
        # Frames of the largest payload, of a kind passed on unchanged.
        one = frame(b"\x01\x7F" + bytes(range(252)))
        chunk = one * 4096  # about 1 MB
        limit = 96 * len(chunk)
        server.sock.setblocking(False)
        sent = 0
        quiet_since = time.monotonic()
        # Push until tellu-cli has taken nothing for a second, or the limit.
        while sent < limit and time.monotonic() - quiet_since < 1.0:
            _, writable, _ = select.select([], [server.sock], [], 0.2)
            if not writable:
                continue
            try:
                n = server.sock.send(chunk[sent % len(chunk):])
            except BlockingIOError:
                continue
            sent += n
            quiet_since = time.monotonic()
        # What it took fits in the sockets' buffers and a little of its own:
        # it stopped reading instead of queueing for the host.
        self.assertLess(sent, 32 * len(chunk), "tellu-cli queued all it was sent")
        # Nothing is lost: the host reads every frame once it reads again.
        server.sock.setblocking(True)
        rest = -sent % len(one)
        sender = threading.Thread(target=server.send, args=(one[len(one) - rest:],))
        sender.start()
        total = sent + rest
        got = 0
        while got < total:
            data = host.recv_exact(min(1 << 20, total - got))
            expected = (one * (len(data) // len(one) + 2))[got % len(one):][:len(data)]
            self.assertEqual(data, expected, "at byte %d" % got)
            got += len(data)
        sender.join(WAIT)
        self.stop()

    # ---- losing the server

    def test_server_closing_then_host_reconnecting_to_a_new_relay(self):
        host, server = self.start_relay()
        # The server goes away in the middle of a frame.
        server.send(frame(chat_text("Aki", "complete")) + frame(chat_text("Aki", "cut short"))[:6])
        host.expect(self, frame(chat_text("Aki", "complete")))
        server.close()
        self.parties.remove(server)
        self.assertTrue(host.closed(), "the host connection outlived the server's")
        # サーバーとの接続が切れました。
        wait_for("the notice", lambda: "サーバーとの接続が切れました。" in self.out.get())

        # The host comes back: a new server connection, nothing left of the
        # cut frame, and a message from the host is relayed at once.
        again = self.connect()
        server2 = self.server.accept()
        self.parties.append(server2)
        up = frame(b"\x01\x0E\x00back again")
        again.send(up)
        server2.expect(self, up)
        down = frame(chat_text("Aki", "welcome back"))
        server2.send(down)
        again.expect(self, down)
        self.stop()

    # ---- the log file and the end

    def test_log_file_on_disk_and_sigterm(self):
        host, server = self.start_relay("Bench")
        host.send(frames(whisper_out("Aki", "Bench", "a &lt;b&gt; c"), b"\x01\x01" + pos(0, 0, 1, 0)))
        server.expect(self, frames(whisper_out("Aki", "Bench", "a &lt;b&gt; c"),
                                   b"\x01\x01" + pos(0, 0, 1, 0)))
        down = frames(chat_text("Aki", "こんにちは"), b"\x03\x01" + pos(1, 2, 3, 4),
                      whisper_in("Ben", "psst"), chat_text("", "no speaker"))
        server.send(down)
        host.expect(self, down)
        self.wait_restored()

        self.cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(), 0, self.err.get())
        self.assertTrue(host.closed(), "the host connection outlived tellu-cli")
        self.assertTrue(server.closed(), "the server connection outlived tellu-cli")
        self.assert_restored()

        logs = os.listdir(self.logs)
        self.assertEqual(len(logs), 1, logs)
        name = re.fullmatch(r"tellu(\d\d)(\d\d)(\d\d)\.txt", logs[0])
        self.assertTrue(name, logs[0])
        with open(os.path.join(self.logs, logs[0]), "rb") as f:
            log = f.read()
        stamp = rb"(\d{4})/(\d\d)/(\d\d) \d\d:\d\d:\d\d"
        lines = (b"{Bench -> Aki} a <b> c\r\n"
                 b"<Aki> \x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\r\n"  # こんにちは
                 b"{Ben -> Bench} psst\r\n"
                 b"<> no speaker\r\n")
        found = re.fullmatch(rb"\+{8} Start " + stamp + rb" \+{8}\r\n" + re.escape(lines)
                             + rb"\+{8} End   " + stamp + rb" \+{8}\r\n", log)
        self.assertTrue(found, log)
        # The file is named after the day the run started.
        year, month, day = found.group(1, 2, 3)
        self.assertEqual(name.groups(), (year[2:].decode(), month.decode(), day.decode()))

    def test_sigterm_while_waiting_restores_the_file(self):
        self.write_tellu_ini()
        self.run_cli()
        wait_for("the wait", lambda: "waiting up to 20 s" in self.err.get())
        with open(self.ini, "rb") as f:
            self.assertIn(b"Host = localhost", f.read())
        self.cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(), 0, self.err.get())
        self.assert_restored()
        self.assertEqual(os.listdir(self.logs), [])  # no chat line, no log file

    def test_backup_left_by_an_earlier_run_is_kept_and_put_back(self):
        # A run that could not restore left the file patched and the backup,
        # which names a server on an address of its own.
        self.original = self.original.replace(b"127.0.0.1", b"127.0.0.2")
        with open(os.path.join(self.windows, "RVK3.sav"), "wb") as f:
            f.write(self.original)
        with open(self.ini, "wb") as f:
            f.write(self.original.replace(b"127.0.0.2", b"localhost"))
        named = FakeServer("127.0.0.2", self.server.port)
        self.addCleanup(named.close)
        # The server named in the backup is the one connected to.
        host, server = self.start_relay(server=named)
        self.assertFalse(self.server.pending())
        self.wait_restored()
        self.assert_restored()
        self.stop()

    # ---- a host under Wine

    def use_prefix(self):
        """The Windows directory in a Wine prefix (C: its drive_c, Z: "/"), the
        host in "C:\\Program Files (x86)\\RVK3" with "wine" there as its PROG,
        which records where it ran and what it was given.  The environment
        names a state folder of the test's own."""
        prefix = os.path.join(self.dir, "prefix")
        self.windows = os.path.join(prefix, "drive_c", "windows")
        self.host_dir = os.path.join(prefix, "drive_c", "Program Files (x86)", "RVK3")
        for d in (self.windows, self.host_dir, os.path.join(prefix, "dosdevices")):
            os.makedirs(d)
        os.symlink("../drive_c", os.path.join(prefix, "dosdevices", "c:"))
        os.symlink("/", os.path.join(prefix, "dosdevices", "z:"))
        self.ini = os.path.join(self.windows, "RVK3.INI")
        self.original = HOST_INI.replace(b"{path}", b"C:\\Program Files (x86)\\RVK3")
        with open(self.ini, "wb") as f:
            f.write(self.original)
        self.started = os.path.join(self.host_dir, "started.txt")
        wine = os.path.join(self.host_dir, "wine")
        with open(wine, "w") as f:
            f.write('#!/bin/sh\nprintf "%s\\n" "$(pwd -P)" "$@" > started.tmp\n'
                    'mv started.tmp started.txt\n')
        os.chmod(wine, 0o755)
        self.state = os.path.join(self.dir, "state")
        env = dict(os.environ, XDG_STATE_HOME=self.state)
        env.pop("WINEPREFIX", None)
        return env

    def prefix_slot(self, prog, extra=""):
        return ("INIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\nPROG=" + prog +
                "\r\nSearchTimer=20\r\n" + extra)

    def test_a_host_in_a_folder_with_a_blank_gets_its_arguments_whole(self):
        env = self.use_prefix()
        self.write_tellu_ini(slot=self.prefix_slot('wine &\\RVK3.EXE --dir & "a  b" x\\"y'))
        self.run_cli(env)
        wait_for("the host to start", lambda: os.path.exists(self.started),
                 detail=lambda: "; stderr:\n" + self.err.get())
        with open(self.started, encoding="utf-8") as f:
            seen = f.read().split("\n")
        folder = "C:\\Program Files (x86)\\RVK3"
        self.assertEqual(seen, [os.path.realpath(self.host_dir), folder + "\\RVK3.EXE", "--dir",
                                folder, "a  b", 'x"y', ""])
        self.stop()
        self.assert_restored()

    def test_without_log_name_the_log_goes_to_the_state_folder_named_for_wine(self):
        env = self.use_prefix()
        self.write_tellu_ini(slot=self.prefix_slot("wine &\\RVK3.EXE", "LogChk=1\r\n"))
        self.run_cli(env)
        host = self.connect()
        server = self.server.accept()
        self.parties.append(server)
        host.send(frame(login("Bench")))
        server.expect(self, frame(login("Bench")))
        server.send(frame(chat_text("Aki", "hi")))
        host.expect(self, frame(chat_text("Aki", "hi")))
        self.wait_restored()
        self.stop()
        folder = os.path.join(self.state, "tellu")
        # Made when the log was first written, private to the user.
        for made in (self.state, folder):
            self.assertEqual(stat.S_IMODE(os.stat(made).st_mode), 0o700, made)
        logs = os.listdir(folder)
        self.assertEqual(len(logs), 1, logs)
        self.assertRegex(logs[0], r"^\d{6}\.txt$")
        with open(os.path.join(folder, logs[0]), "rb") as f:
            self.assertIn(b"<Aki> hi\r\n", f.read())
        # Written back as tellu.exe in the same prefix reads it.
        with open(os.path.join(self.windows, "TELLU.INI"), "rb") as f:
            written = f.read()
        z = "Z:" + os.path.realpath(folder).replace("/", "\\") + "\\"
        self.assertIn(b"\r\nLogName=" + z.encode() + b"\r\n", written)

    # ---- fatal paths

    def test_a_first_start_without_any_tellu_ini_names_the_file_tried(self):
        # None in the Windows directory, none beside the program.
        beside = os.path.join(os.path.dirname(os.path.realpath(CLI)), "tellu.ini")
        self.assertFalse(os.path.exists(beside), beside)
        env = dict(os.environ, HOME=self.dir, XDG_STATE_HOME=os.path.join(self.dir, "state"))
        self.run_cli(env)
        self.assertEqual(self.finish(), 2)
        self.assertIn("[Tellu] cann't find tellu.ini.\n", self.out.get())
        self.assertIn("*** try to run RV/K but failed! ***\n[history]\nStart Tellu\n"
                      "checking tellu.ini :" + beside + "\n", self.err.get())
        # Nothing was written anywhere.
        self.assertFalse(os.path.exists(beside))
        self.assertEqual(os.listdir(self.windows), ["RVK3.INI"])
        self.assertFalse(os.path.exists(os.path.join(self.dir, "state")))
        self.assert_restored()


    def test_slot_1_without_host_configuration_is_fatal(self):
        self.write_tellu_ini(slot="SearchTimer=1\r\n")
        self.run_cli()
        self.assertEqual(self.finish(), 2)
        self.assertIn("[Tellu] cann't find tellu.ini.\n", self.out.get())
        self.assertIn("*** try to run RV/K but failed! ***\n[history]\nStart Tellu\n"
                      "checking tellu.ini :" + self.windows + "/TELLU.INI\n", self.err.get())
        self.assert_restored()

    def test_unknown_host_folder_is_fatal_with_advice(self):
        self.original = self.original.replace(b"Path=", b"Elsewhere=")
        with open(self.ini, "wb") as f:
            f.write(self.original)
        self.write_tellu_ini()
        self.run_cli()
        self.assertEqual(self.finish(), 2)
        ini_path = self.windows + "\\RVK3.INI"
        # The terminal shows the advice's CR LF line ends as plain ones.
        self.assertIn("[Tellu] " + ini_path + "に\nPath=c:\\zenmo\\rvk3\n"
                      "のようにインストールしたフォルダ名の設定行を追加してください\n",
                      self.out.get())
        self.assertIn("*** try to run RV/K but failed! ***\n[history]\nStart Tellu\n"
                      "checking tellu.ini :" + self.windows + "/TELLU.INI\n"
                      "checking ini_file :" + self.windows + "/RVK3.INI\nreading ini_file :" +
                      self.windows + "/RVK3.INI\ncann't get AP pass\n", self.err.get())
        self.assert_restored()
        self.assertFalse(self.server.pending())


def main():
    global CLI
    (CLI,), rest = programs()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
