#!/usr/bin/env python3
"""Two tellu-cli instances exchange an avatar file over real sockets.

Tellu connects to the peer's address on its own server port, so each
instance gets a network namespace and addresses of its own; a third
namespace holds a bridge and the chatsim server.  Each tellu-cli launches
avatar_host.py as its host, which records what Tellu shows it.

  hub   br0  198.51.100.254/24  192.168.50.254/24   chatsim server
  a     eth0 198.51.100.1/24    192.168.50.1/24     tellu-cli "alice"
  b     eth0 198.51.100.2/24    192.168.50.2/24     tellu-cli "bob"

Which hub address an instance's host configuration names decides its own
address, and with it whether it counts as on a local network: the offer
path needs a public owner, the push path a local owner and a public
requester.  Needs root and `ip netns`; without them the whole file is
skipped (exit status 77).  Every wait is bounded; nothing sleeps for a
fixed time.
"""
import atexit
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import harness
from harness import (AVATAR_PROPERTY, NAMED, OBJECT_NAMING, ROOM_POSITION_BATCH, Reader, counted,
                     end_processes, programs, wait_end, wait_for)

CLI = CHATSIM = None
WAIT = harness.WAIT = 20  # seconds, the bound of every wait: two instances start
PORT = 5200  # RN = SN in both instances, as the defaults
SKIP = 77
PREFIX = "tellu-avt-"
HOST_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "avatar_host.py")

PUBLIC_HUB, LOCAL_HUB = "198.51.100.254", "192.168.50.254"
ADDRESSES = {"a": ("198.51.100.1", "192.168.50.1"), "b": ("198.51.100.2", "192.168.50.2")}

FILE_REF = "avatar\\foo.mov"
OTHER_REF = "avatar\\Vavar.uza"

# Shift-JIS texts of the exchange, as the terminal shows them (UTF-8).
DECLINE = "アバタファイルは送信できません"


def ip(*args, check=True):
    return subprocess.run(["ip", *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, check=check)


class Topology:
    """The three namespaces; removed on every way out of the run."""

    def __init__(self):
        self.names = {k: "%s%d-%s" % (PREFIX, os.getpid(), k) for k in ("hub", "a", "b")}
        self.made = []

    def build(self):
        hub = self.names["hub"]
        for ns in self.names.values():
            ip("netns", "add", ns)
            self.made.append(ns)
            ip("-n", ns, "link", "set", "lo", "up")
        ip("-n", hub, "link", "add", "br0", "type", "bridge")
        ip("-n", hub, "link", "set", "br0", "up")
        for address in (PUBLIC_HUB, LOCAL_HUB):
            ip("-n", hub, "addr", "add", address + "/24", "dev", "br0")
        for side in ("a", "b"):
            ns, port = self.names[side], "h" + side
            ip("-n", ns, "link", "add", "eth0", "type", "veth", "peer", "name", port,
               "netns", hub)
            ip("-n", hub, "link", "set", port, "master", "br0")
            ip("-n", hub, "link", "set", port, "up")
            for address in ADDRESSES[side]:
                ip("-n", ns, "addr", "add", address + "/24", "dev", "eth0")
            ip("-n", ns, "link", "set", "eth0", "up")

    def remove(self):
        while self.made:
            ip("netns", "del", self.made.pop(), check=False)


def remove_stale_namespaces():
    """A run killed outright leaves its namespaces behind: drop those whose
    process is gone."""
    listed = ip("netns", "list", check=False).stdout
    for ns in re.findall(r"^(%s(\d+)-\w+)" % re.escape(PREFIX), listed, re.M):
        try:
            os.kill(int(ns[1]), 0)
        except ProcessLookupError:
            ip("netns", "del", ns[0], check=False)
        except PermissionError:
            pass


def die_with_parent():
    # A test runner killed outright must not leave programs in the namespaces.
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


class Instance:
    """One tellu-cli in its namespace: Windows directory, host folder with
    avatar_host.py as the host program, and its standard streams."""

    def __init__(self, test, ns, name, server, avatar, files=None, ask="yes"):
        self.test, self.ns, self.name, self.avatar = test, ns, name, avatar
        self.root = os.path.join(test.dir, name)
        self.windows = os.path.join(self.root, "windows")
        # 表 and ソ end in the byte of a backslash: the host folder's name
        # goes through every file the exchange opens.
        self.host_dir = os.path.join(self.root, "rvk3表ソ")
        self.avatars = os.path.join(self.host_dir, "avatar")
        for d in (self.windows, self.host_dir, self.avatars):
            os.makedirs(d)
        for ref, data in (files or {}).items():
            with open(self.path_of(ref), "wb") as f:
                f.write(data)
        self.ini = os.path.join(self.windows, "RVK3.INI")
        self.original = (b"[Server]\r\nHost=" + server.encode() + b"\r\nPath=" +
                         self.host_dir.encode("cp932") + b"\r\n")
        with open(self.ini, "wb") as f:
            f.write(self.original)
        tellu = ("[SYSTEM]\r\nRN={port}\r\nSN={port}\r\n[SYS1]\r\nINIFILE=RVK3.INI\r\n"
                 "PRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\nPROG=&\\rvk3\r\n"
                 "SearchTimer=15\r\nLogChk=0\r\n").format(port=PORT)
        with open(os.path.join(self.windows, "TELLU.INI"), "w") as f:
            f.write(tellu)
        self.record = os.path.join(self.host_dir, "host.rec")
        program = os.path.join(self.host_dir, "rvk3")
        with open(program, "w") as f:
            f.write('#!/bin/sh\nexec "{py}" "{script}" --ini "{ini}" --port {port} --name {name} '
                    '--avatar \'{avatar}\' --record "{record}" > host.log 2>&1\n'.format(
                        py=sys.executable, script=HOST_SCRIPT, ini=self.ini, port=PORT,
                        name=name, avatar=avatar, record=self.record))
        os.chmod(program, 0o755)
        self.proc = subprocess.Popen(
            ["ip", "netns", "exec", ns, CLI, "--windows-dir", self.windows,
             "--avatar-requests", ask, "S1"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
            cwd=self.root, preexec_fn=die_with_parent)
        test.procs.append(self.proc)
        self.out, self.err = Reader(self.proc.stdout), Reader(self.proc.stderr)

    def path_of(self, ref):
        return os.path.join(self.host_dir, *ref.split("\\"))

    def type(self, line):
        self.proc.stdin.write(line.encode() + b"\n")
        self.proc.stdin.flush()

    def shown(self):
        """The payloads the host was shown, in order."""
        try:
            with open(self.record) as f:
                return [bytes.fromhex(line.strip()) for line in f if line.strip()]
        except FileNotFoundError:
            return []

    def number_of(self, name):
        """The object number the host was given for name, or None."""
        number = None
        for p in self.shown():
            head = OBJECT_NAMING + counted(name.encode())
            if p.startswith(head) and len(p) == len(head) + 1:
                number = p[-1]
        return number

    def knows_avatar(self, name, ref):
        return NAMED + counted(name.encode()) + AVATAR_PROPERTY + counted(ref.encode()) \
            in self.shown()

    def refresh_records(self, number):
        """The opaque bytes of the room position records shown for number."""
        return [p[5:7] for p in self.shown()
                if len(p) == 15 and p[:2] == ROOM_POSITION_BATCH and p[2] == number]

    def leftovers(self):
        return sorted(f for _, _, names in os.walk(self.host_dir) for f in names
                      if f.lower().endswith(".tmp"))

    def detail(self):
        return "\n--- %s stdout\n%s--- %s stderr\n%s" % (self.name, self.out.get(), self.name,
                                                      self.err.get())

    def quit(self):
        self.type("/quit")
        code = wait_end(self.proc, "tellu-cli " + self.name, self.detail)
        self.test.assertEqual(code, 0, self.detail())
        with open(self.ini, "rb") as f:
            self.test.assertEqual(f.read(), self.original, "host configuration not restored")


class AvatarExchangeTest(unittest.TestCase):
    topology = None

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tellu-avatar-")
        self.procs = []
        hub = self.topology.names["hub"]
        self.server = subprocess.Popen(
            ["ip", "netns", "exec", hub, CHATSIM, "server", "--port", str(PORT), "--verbose"],
            stderr=subprocess.PIPE, preexec_fn=die_with_parent)
        self.procs.append(self.server)
        self.server_log = Reader(self.server.stderr)
        wait_for("the chatsim server", lambda: "listening on port" in self.server_log.get())

    def tearDown(self):
        end_processes(reversed(self.procs))
        shutil.rmtree(self.dir, ignore_errors=True)

    def start(self, side, name, server, avatar, files=None, ask="yes"):
        return Instance(self, self.topology.names[side], name, server, avatar, files, ask)

    def meet(self, owner, requester):
        """Both logged in, and the requester's Tellu has seen the owner's
        avatar (the host is shown what Tellu has already read)."""
        for who in (owner, requester):
            wait_for(who.name + " to log in",
                     lambda: who.name + " logs in" in self.server_log.get(),
                     detail=who.detail)
        wait_for(requester.name + " to see " + owner.name + "'s avatar",
                 lambda: requester.knows_avatar(owner.name, owner.avatar),
                 detail=requester.detail)

    def assert_received(self, owner, requester, data):
        number = requester.number_of(owner.name)
        wait_for("the refresh records for " + owner.name,
                 lambda: requester.refresh_records(number) == [b"\x01\x00", b"\x00\x01"],
                 detail=lambda: requester.detail() + owner.detail())
        # The refresh comes only after the copy into place.
        with open(requester.path_of(FILE_REF), "rb") as f:
            self.assertEqual(f.read(), data)
        with open(owner.path_of(FILE_REF), "rb") as f:
            self.assertEqual(f.read(), data)
        self.assertEqual(requester.leftovers(), [])
        self.assertEqual(owner.leftovers(), [])
        # Each side's progress ends with a last line that stays.
        for who, peer, title in ((requester, owner, "Receiving"), (owner, requester, "Sending")):
            last = re.compile(r"^\[Tellu %s\] %s.* foo\.mov.*\(closed\)$" % (title, peer.name),
                              re.M)
            wait_for(who.name + "'s last progress line", lambda: last.search(who.out.get()),
                     detail=who.detail)

    def offer_whispers(self):
        return re.findall(r"whispers to \S+: あのぉ,AVA,", self.server_log.get())

    def test_offer_path_public_owner_offers_and_the_requester_fetches(self):
        # Bytes of every value, and a short last chunk.
        data = bytes(range(256)) * 7 + os.urandom(1555)
        alice = self.start("a", "alice", PUBLIC_HUB, FILE_REF, {FILE_REF: data}, ask="ask")
        bob = self.start("b", "bob", PUBLIC_HUB, OTHER_REF)
        self.meet(alice, bob)
        bob.type("/request alice")
        wait_for("alice's question", lambda: "[y/n]" in alice.out.get(), detail=alice.detail)
        self.assertIn("bob", alice.out.get())
        alice.type("y")
        self.assert_received(alice, bob, data)
        self.assertEqual(len(self.offer_whispers()), 1, self.server_log.get())

        # What arrived can be worn.
        bob.type("/avatars")
        wait_for("bob's avatar list", lambda: re.search(r"(\d+)  alice\tfoo\.mov", bob.out.get()),
                 detail=bob.detail)
        entry = re.search(r"(\d+)  alice\tfoo\.mov", bob.out.get()).group(1)
        bob.type("/wear " + entry)
        wait_for("bob to wear alice's avatar",
                 lambda: "bob wears " + FILE_REF in self.server_log.get(), detail=bob.detail)
        alice.quit()
        bob.quit()

    def test_push_path_local_owner_connects_to_the_public_requester(self):
        # bob owns the file this time: it goes the other way.
        data = os.urandom(40 * 512 + 1)
        bob = self.start("b", "bob", LOCAL_HUB, FILE_REF, {FILE_REF: data}, ask="yes")
        alice = self.start("a", "alice", PUBLIC_HUB, OTHER_REF)
        self.meet(bob, alice)
        alice.type("/request bob")
        self.assert_received(bob, alice, data)
        self.assertIn("-> yes", bob.out.get())
        self.assertEqual(self.offer_whispers(), [], "a local owner offers nothing")
        bob.quit()
        alice.quit()

    def test_declined_request_is_a_notice_and_leaves_no_file(self):
        data = os.urandom(1000)
        alice = self.start("a", "alice", PUBLIC_HUB, FILE_REF, {FILE_REF: data}, ask="no")
        bob = self.start("b", "bob", PUBLIC_HUB, OTHER_REF)
        self.meet(alice, bob)
        bob.type("/request alice")
        wait_for("the decline notice", lambda: "[from alice] " + DECLINE in bob.out.get(),
                 detail=bob.detail)
        self.assertIn("-> no", alice.out.get())
        self.assertFalse(os.path.exists(bob.path_of(FILE_REF)))
        self.assertEqual(bob.leftovers(), [])
        self.assertNotIn("[Tellu Receiving]", bob.out.get())
        self.assertEqual(self.offer_whispers(), [])
        alice.quit()
        bob.quit()


def main():
    global CLI, CHATSIM
    (CLI, CHATSIM), rest = programs("chatsim")

    if os.geteuid() != 0:
        print("avatar_test: skipped: network namespaces need root (CI runs as root)")
        return SKIP
    if not shutil.which("ip") or ip("netns", "list", check=False).returncode != 0:
        print("avatar_test: skipped: `ip netns` is not available (package iproute2)")
        return SKIP

    topology = Topology()
    atexit.register(topology.remove)

    stopped = []

    def stop(signum, frame):
        # unittest passes KeyboardInterrupt on, where it would record any
        # other exception as a failed test and go on with the next.
        stopped.append(signum)
        raise KeyboardInterrupt

    for s in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(s, stop)
    try:
        remove_stale_namespaces()
        try:
            topology.build()
        except subprocess.CalledProcessError as e:
            print("avatar_test: skipped: cannot build the namespaces: %s: %s"
                  % (" ".join(e.cmd), e.stderr.strip()))
            return SKIP
        AvatarExchangeTest.topology = topology
        result = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2).result
        return 0 if result.wasSuccessful() else 1
    except KeyboardInterrupt:
        print("avatar_test: stopped by signal %d" % (stopped or [signal.SIGINT])[0])
        return 128 + (stopped or [signal.SIGINT])[0]
    finally:
        topology.remove()


if __name__ == "__main__":
    sys.exit(main())
