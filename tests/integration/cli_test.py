#!/usr/bin/env python3
"""tellu-cli between chatsim's host and server on loopback sockets.

Each test writes a Windows directory (tellu.ini, the host's configuration
file) and a host folder into a temporary directory, starts a chatsim server
on a free port and runs tellu-cli, which launches chatsim host as its PROG.
Every wait is bounded; nothing sleeps for a fixed time.
"""
import os
import pty
import re
import select
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from harness import HOST_INI, WAIT, Reader, end_processes, free_port, programs, wait_end, wait_for

CLI = CHATSIM = None


class CliTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tellu-cli-")
        self.use_folders("windows", "rvk3", "logs")
        self.procs = []
        self.server_port = self.start_server()
        self.listen_port = free_port()

    def tearDown(self):
        end_processes(self.procs)

    def use_folders(self, windows, host, logs):
        """The Windows directory, the host's folder and the log folder, by
        name under the test's directory; the files name them in Shift-JIS."""
        self.windows = os.path.join(self.dir, windows)
        self.host_dir = os.path.join(self.dir, host)
        self.logs = os.path.join(self.dir, logs)
        for d in (self.windows, self.host_dir, self.logs):
            os.mkdir(d)
        self.ini = os.path.join(self.windows, "RVK3.INI")
        self.original = HOST_INI.replace(b"{path}", self.host_dir.encode("cp932"))
        with open(self.ini, "wb") as f:
            f.write(self.original)

    def start_server(self):
        server = subprocess.Popen([CHATSIM, "server", "--port", "0", "--verbose", "--bots", "1",
                                   "--bot-interval", "400"], stderr=subprocess.PIPE)
        self.procs.append(server)
        line = b""
        end = time.monotonic() + WAIT
        while b"listening on port" not in line:
            ready, _, _ = select.select([server.stderr], [], [], max(0, end - time.monotonic()))
            self.assertTrue(ready, "chatsim server did not start")
            line = server.stderr.readline()
            self.assertTrue(line, "chatsim server ended")
        self.server_log = Reader(server.stderr)
        return int(re.search(rb"port (\d+)", line).group(1))

    def write_tellu_ini(self, slot_keys, log_name=None):
        """log_name: LogName's bytes; by default "tellu" in the log folder."""
        if log_name is None:
            log_name = (self.logs + "/tellu").encode("cp932")
        text = ("[SYSTEM]\r\nRN={rn}\r\nSN={sn}\r\n[SYS1]\r\nINIFILE=RVK3.INI\r\n"
                "PRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\nLogChk=1\r\n"
                ).format(rn=self.listen_port, sn=self.server_port)
        with open(os.path.join(self.windows, "TELLU.INI"), "wb") as f:
            f.write(text.encode() + b"LogName=" + log_name + b"\r\n" + slot_keys.encode("cp932"))

    def write_host(self, script_lines):
        """The host program: records the configuration it was started with,
        then runs chatsim host with its output in host.log."""
        with open(os.path.join(self.host_dir, "host.script"), "w") as f:
            f.write("\n".join(script_lines) + "\n")
        wrapper = os.path.join(self.host_dir, "rvk3")
        with open(wrapper, "w") as f:
            f.write('#!/bin/sh\ncp "{ini}" seen.ini\nexec "{chatsim}" host --ini "{ini}" '
                    '--section Server --key Host --script host.script "$@" '
                    '> host.log 2>&1\n'.format(ini=self.ini, chatsim=CHATSIM))
        os.chmod(wrapper, 0o755)

    def host_log(self):
        try:
            with open(os.path.join(self.host_dir, "host.log"), encoding="utf-8",
                      errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def run_cli(self, *extra):
        cli = subprocess.Popen([CLI, "--windows-dir", self.windows, *extra],
                               stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, cwd=self.dir)
        self.procs.append(cli)
        self.out, self.err = Reader(cli.stdout), Reader(cli.stderr)
        return cli

    def finish(self, cli):
        return wait_end(cli, "tellu-cli", lambda: "; stderr:\n" + self.err.get())

    def assert_restored(self):
        with open(self.ini, "rb") as f:
            self.assertEqual(f.read(), self.original)
        self.assertFalse(os.path.exists(os.path.join(self.windows, "RVK3.sav")))

    def test_relays_both_ways_restores_and_stops_on_sigterm(self):
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port))
        self.write_host(["hello from the host", "/expect <Demo> hello from the cli",
                         "after the end of input"])
        cli = self.run_cli("S1")
        wait_for("the host to connect", lambda: "the host is connected" in self.err.get())
        # The host was started with the server entry pointing at tellu-cli.
        with open(os.path.join(self.host_dir, "seen.ini"), "rb") as f:
            self.assertEqual(f.read(), self.original.replace(b"127.0.0.1", b"localhost"))
        self.assert_restored()
        # Host -> tellu-cli -> server, and the server's echo back through the log.
        wait_for("the host's line", lambda: "<Demo> hello from the host" in self.out.get())
        # A typed line goes to the server and comes back to the host.
        cli.stdin.write("hello from the cli\n".encode())
        cli.stdin.flush()
        cli.stdin.close()
        wait_for("the typed line at the host",
                 lambda: "<Demo> hello from the cli" in self.host_log())
        # The end of standard input stops nothing.
        wait_for("relaying after the end of input",
                 lambda: "<Demo> after the end of input" in self.out.get())
        # A bot's line from the server reaches the host through the relay.
        wait_for("a bot at the host", lambda: re.search(r"^<(?!Demo>)", self.host_log(), re.M))

        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0, self.err.get())
        self.assert_restored()
        logs = os.listdir(self.logs)
        self.assertEqual(len(logs), 1)
        self.assertRegex(logs[0], r"^tellu\d{6}\.txt$")
        with open(os.path.join(self.logs, logs[0]), "rb") as f:
            log = f.read()
        self.assertTrue(log.startswith(b"++++++++ Start "), log[:40])
        self.assertIn(b"<Demo> hello from the host\r\n", log)
        self.assertIn(b"<Demo> hello from the cli\r\n", log)
        self.assertRegex(log, rb"\+\+\+\+\+\+\+\+ End   [0-9/ :]+ \+\+\+\+\+\+\+\+\r\n$")

    def test_a_line_shift_jis_cannot_hold_is_not_sent(self):
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port))
        self.write_host(["/expect <Demo> after the refused line"])
        cli = self.run_cli("S1")
        wait_for("the host to connect", lambda: "the host is connected" in self.err.get())
        # The path built from INIFILE is written as this system writes paths.
        self.assertIn(self.windows + "/RVK3.INI is restored", self.err.get())
        cli.stdin.write("hi \U0001F600 there\nafter the refused line\n".encode())
        cli.stdin.flush()
        wait_for("the next line at the host",
                 lambda: "<Demo> after the refused line" in self.host_log())
        self.assertIn("not sent: Shift-JIS cannot hold \U0001F600 U+1F600", self.err.get())
        self.assertNotIn("there", self.host_log())
        self.assertNotIn("there", self.out.get())
        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0, self.err.get())

    def test_japanese_folder_names(self):
        # 表 and ソ end in the byte of a backslash.
        self.use_folders("窓表", "ホスト表ソ", "ログ表")
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port), (self.logs + "\\tellu").encode("cp932"))
        self.write_host(["hello from the host"])
        cli = self.run_cli("S1")
        wait_for("the host's line", lambda: "<Demo> hello from the host" in self.out.get())
        wait_for("the restore", lambda: "the host is connected" in self.err.get())
        self.assertIn(self.windows, self.err.get())
        self.assert_restored()
        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0, self.err.get())
        self.assert_restored()
        self.assertRegex(" ".join(os.listdir(self.logs)), r"^tellu\d{6}\.txt$")
        # Nothing was written under a name cut at a 5C byte.
        self.assertEqual(sorted(os.listdir(self.dir)),
                         sorted(["windows", "rvk3", "logs", "窓表", "ホスト表ソ", "ログ表"]))

    def test_addresses_from_the_chat_link_only_to_web_pages_or_mail(self):
        # A drive, the local disk and a share written as addresses: the
        # terminal is handed web pages in their place.
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port))
        self.write_host(["run c://folder/program.exe or file:///C:/folder/program.exe"
                         " or file://host/share/x.exe"])
        cli = self.run_cli("--color", "always", "S1")
        links = lambda: re.findall(r"\x1b\]8;;([^\x1b]+)\x1b\\", self.out.get())
        wait_for("the line", lambda: any("x.exe" in t for t in links()))
        targets = links()
        for target in targets:
            self.assertRegex(target, r"^(?i:https?://|mailto:)")
        self.assertTrue({"http://c://folder/program.exe", "http://file:///C:/folder/program.exe",
                         "http://file://host/share/x.exe"} <= set(targets), targets)
        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0, self.err.get())
        self.assert_restored()

    def whisper_bells(self, *extra):
        """A second client, Amy, whispers to the user: what tellu-cli printed,
        and the whispers to the user in it from anybody else (bots too)."""
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port))
        self.write_host(["hello from the host"])
        cli = self.run_cli(*extra, "S1")
        wait_for("the host's line", lambda: "<Demo> hello from the host" in self.out.get())
        amy_ini = os.path.join(self.dir, "amy.ini")
        with open(amy_ini, "wb") as f:
            f.write(b"[Server]\r\nHost=127.0.0.1\r\n")
        with open(os.path.join(self.dir, "amy.script"), "w") as f:
            f.write("/w Demo psst from amy\n/sleep 200\n/quit\n")
        amy = subprocess.Popen([CHATSIM, "host", "--ini", amy_ini, "--section", "Server",
                                "--key", "Host", "--port", str(self.server_port), "--name",
                                "Amy", "--script", "amy.script"], cwd=self.dir,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        self.procs.append(amy)
        wait_for("Amy's whisper", lambda: "{Amy -> Demo} psst from amy" in self.out.get())
        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0, self.err.get())
        out = self.out.get()
        return out, re.findall(r"\{(?!Demo )[^{}\n]* -> Demo\}", out)

    def test_bell_rings_once_after_each_whisper_to_the_user(self):
        out, whispers = self.whisper_bells("--bell")
        self.assertEqual(out.count("\a"), len(whispers), repr(out))
        self.assertIn("{Amy -> Demo} psst from amy\n\a", out)

    def test_no_bell_without_the_option(self):
        out, whispers = self.whisper_bells()
        self.assertTrue(whispers)
        self.assertNotIn("\a", out)

    def test_a_name_without_a_file_name_is_an_error_naming_its_key(self):
        self.write_tellu_ini("PROG=&\\nohost\r\nSearchTimer=1\r\n",
                             self.logs.encode() + b"/\x85\x40")
        cli = self.run_cli("S1")
        self.finish(cli)
        self.assertRegex(self.err.get(), r"LogName names .*, which has no file name")
        self.assertEqual(os.listdir(self.logs), [])

    def test_a_half_typed_line_survives_arriving_chat_on_a_terminal(self):
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port))
        self.write_host(["hello from the host"])
        master, slave = pty.openpty()
        env = dict(os.environ, TERM="xterm", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        cli = subprocess.Popen([CLI, "--windows-dir", self.windows, "--color", "never", "S1"],
                               stdin=slave,
                               stdout=slave, stderr=slave, cwd=self.dir, env=env)
        os.close(slave)
        self.procs.append(cli)
        screen = Reader(master)
        try:
            wait_for("the host's line", lambda: "<Demo> hello from the host" in screen.get())
        except AssertionError:
            raise AssertionError(repr(screen.get()))
        typed_at = len(screen.get())
        os.write(master, "hel表".encode())
        wait_for("the echo", lambda: "hel表" in screen.get()[typed_at:])
        typed_at = len(screen.get())
        # Chat goes above the input line, which is drawn again after it.
        try:
            wait_for("chat after the half line", lambda: re.search(
                r"<(?!Demo>)[^\r\n]*\r?\n[^\n]*> hel表", screen.get()[typed_at:]))
        except AssertionError:
            raise AssertionError(repr(screen.get()[typed_at:]))
        os.write(master, "lo\r".encode())
        wait_for("the whole line at the host",
                 lambda: "<Demo> hel表lo" in self.host_log())
        # The keys stay the editor's: Up brings the line back.
        sent_at = len(screen.get())
        os.write(master, b"\x1b[A")
        wait_for("the line from the history", lambda: "> hel表lo" in screen.get()[sent_at:])
        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0, screen.get())
        self.assert_restored()

    def test_host_never_connecting_is_fatal_after_the_limit(self):
        self.write_tellu_ini("PROG=&\\nohost -x\r\nSearchTimer=1\r\n")
        cli = self.run_cli()
        self.assertEqual(self.finish(cli), 2)
        err = self.err.get()
        self.assertIn("cannot start " + self.host_dir + "/nohost", err)
        self.assertIn("*** let RV/K run but cann't find! ***\n[history]\nStart Tellu\n"
                      "checking tellu.ini :" + self.windows + "/TELLU.INI\n"
                      "checking ini_file :" + self.windows + "/RVK3.INI\n"
                      "reading ini_file :" + self.windows + "/RVK3.INI\n"
                      "execute " + self.host_dir + "/nohost\n", err)
        self.assert_restored()

    def test_no_complete_slot_is_fatal(self):
        self.write_tellu_ini("SearchTimer=1\r\n")  # no PROG
        cli = self.run_cli()
        self.assertEqual(self.finish(cli), 2)
        self.assertIn("*** try to run RV/K but failed! ***\n[history]\nStart Tellu\n"
                      "checking tellu.ini :" + self.windows + "/TELLU.INI\n"
                      "checking ini_file :", self.err.get())
        self.assert_restored()

    def test_unreachable_server_still_restores_and_says_so(self):
        self.server_port = free_port()  # nothing listens there
        self.write_tellu_ini("PROG=&\\rvk3 --port {} --name Demo\r\nSearchTimer=20\r\n"
                             .format(self.listen_port))
        self.write_host([])
        cli = self.run_cli()
        wait_for("the host", lambda: "the chat server 127.0.0.1 cannot be reached" in self.err.get())
        self.assert_restored()
        cli.send_signal(signal.SIGTERM)
        self.assertEqual(self.finish(cli), 0)

    def test_sigint_while_waiting_restores_the_file(self):
        # The host program starts but never connects.
        self.write_tellu_ini("PROG=&\\rvk3 --port 1\r\nSearchTimer=30\r\n")
        self.write_host([])
        cli = self.run_cli()
        wait_for("the wait", lambda: "waiting up to 30 s" in self.err.get())
        with open(self.ini, "rb") as f:
            self.assertIn(b"Host = localhost", f.read())
        cli.send_signal(signal.SIGINT)
        self.assertEqual(self.finish(cli), 0)
        self.assert_restored()


def main():
    global CLI, CHATSIM
    (CLI, CHATSIM), rest = programs("chatsim")
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
