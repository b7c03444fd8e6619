#!/usr/bin/env bash
# The Windows zip on a fresh Wine prefix: unpacked under a folder with a
# Japanese name and a blank, set up from its own TELLU.INI.sample, tellu.exe
# launches a fake host (tools/fakehost) against chatsim's server.  The host's
# file is patched and restored byte for byte, a line goes each way, the help
# page opens through the shell, and tellu.exe ends cleanly after the host.
#   windows_zip.sh ZIP WINDOWS_BUILD CHATSIM [TELLU_EXE]
# WINDOWS_BUILD holds fakehost.exe and package_drive.exe; TELLU_EXE replaces
# the zip's tellu.exe where Wine cannot run 32-bit programs.
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a "$0" "$@"
zip=$(realpath "$1"); win=$(realpath "$2"); chatsim=$(realpath "$3"); replacement=${4:-}
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$top/build/package-test/windows
rm -rf "$work"; mkdir -p "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A Japanese system, as the users': the Windows build's configure step
# compiles the locale where the host has none.
for d in "$top/build/win/locales" "$top/build/win32/locales"; do
  if [ -d "$d/ja_JP.UTF-8" ]; then export LOCPATH=$d; break; fi
done
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
wine=$top/tools/wine-run
server=; tellu=
finish() {
  [ -n "$tellu" ] && kill "$tellu" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  wineserver -k 2>/dev/null || true
}
trap finish EXIT
fail() { echo "windows zip: $*" >&2; exit 1; }
wait_for() {  # seconds, command...
  local tries=$(( $1 * 10 )); shift
  until "$@" 2>/dev/null; do
    tries=$((tries - 1)); [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}

wineserver -p
wineboot -i >/dev/null 2>&1
c=$WINEPREFIX/drive_c
app="$c/Program Files/てるー Tellu"
mkdir -p "$app" "$c/RVK3"
unzip -q "$zip" -d "$app"
[ "$(cd "$app" && ls | LC_ALL=C sort | tr '\n' ' ')" = "LICENSE README.txt TELLU.INI.sample tellu.exe tellu.html " ] ||
  fail "unexpected files in the zip: $(ls "$app")"
# The program as shipped: 32-bit, only the system's DLLs, the version of the
# zip's name in its version resource, no execution level in any manifest.
exe=$app/tellu.exe
version=$(basename "$zip" | sed -n 's/^tellu-\(.*\)-windows-x86\.zip$/\1/p')
[[ $(LC_ALL=C i686-w64-mingw32-objdump -f "$exe") == *"file format pei-i386"* ]] || fail "tellu.exe is not 32-bit"
system=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll ws2_32.dll "
for dll in $(LC_ALL=C i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr A-Z a-z); do
  case $system in *" $dll "*) ;; *) fail "tellu.exe needs $dll" ;; esac
done
[[ $(LC_ALL=C i686-w64-mingw32-windres -i "$exe" -O rc) == *"VALUE \"ProductVersion\", \"$version\""* ]] ||
  fail "tellu.exe's version resource does not say $version"
! grep -aqE "trustInfo|requestedExecutionLevel" "$exe" || fail "tellu.exe names an execution level"
echo "windows zip: tellu.exe $version is 32-bit, needs only the system's DLLs, names no execution level"
if [ -n "$replacement" ]; then cp "$replacement" "$app/tellu.exe"; fi
cp "$win/tools/fakehost/fakehost.exe" "$c/RVK3/RVK3.EXE"

rn=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
sn=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
# The host's own file, and TELLU.INI: the sample with this test's ports,
# caption and host program filled in, every other byte as shipped.
python3 - "$app/TELLU.INI.sample" "$c/windows" "$rn" "$sn" <<'PY'
import re, sys
sample, windows, rn, sn = sys.argv[1:]
title = "RV/K3 package test"
host = b"[Server]\r\nHost=127.0.0.1\r\nPath=C:\\RVK3\r\nTitle=" + title.encode() + b"\r\n"
open(windows + "/RVK3.INI", "wb").write(host)
open(windows + "/RVK3.INI.orig", "wb").write(host)
data = open(sample, "rb").read()
data.decode("cp932")
fill = {"RN": rn, "SN": sn, "SYS1": title, "SearchTimer": "30",
        "PROG": "&\\RVK3.EXE --ini RVK3.INI --section Server --key Host --port %s "
                "--name tester --log C:\\host.log" % rn}
for key, value in fill.items():
    data, n = re.subn(rb"(?m)^" + key.encode() + rb"=[^\r\n]*", lambda m: (key + "=" + value).encode(), data)
    assert n == 1, "the sample has no single %s line" % key
open(windows + "/TELLU.INI", "wb").write(data)
PY
# The shell's handler for web pages records what it was asked to open.
printf 'REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.html]\r\n@="htmlfile"\r\n\r\n[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\r\n@="C:\\\\windows\\\\system32\\\\cmd.exe /c echo %%1>C:\\\\help-opened.txt"\r\n' \
  > "$c/help.reg"
"$wine" regedit /S 'C:\help.reg'

"$chatsim" server --port "$sn" --bots 1 --bot-interval 300 --seed 7 --verbose >"$work/server.log" 2>&1 &
server=$!
wait_for 10 grep -q "listening on port" "$work/server.log" || fail "chatsim server did not start"
(cd "$app" && exec "$wine" tellu.exe) >"$work/tellu.out" 2>&1 &
tellu=$!
wait_for 30 grep -aq "^ready " "$c/host.log" || fail "the host was not launched"
wait_for 30 grep -aq "caption .* with Tellu\." "$c/host.log" || fail "tellu.exe did not find the host window"
wait_for 10 test ! -e "$c/windows/RVK3.sav" || fail "the backup of the host's file stayed"
cmp "$c/windows/RVK3.INI" "$c/windows/RVK3.INI.orig" || fail "the host's file was not restored"
grep -aq "connect localhost:$rn" "$c/host.log" || fail "the host did not read the patched server entry"
echo "windows zip: host launched from the unpacked folder, its file patched and restored"

"$wine" "$win/tests/package/package_drive.exe" say "hello from the zip" || fail "no input bar"
wait_for 20 grep -q "tester says: hello from the zip" "$work/server.log" ||
  fail "the typed line never reached the server"
# The host got a bot's line and its own echo, as the server sent them.
got_lines() {
  python3 - "$c/host.log" "$work/server.log" <<'PY'
import sys
got = b"".join(bytes.fromhex(l[2:]) for l in open(sys.argv[1], "rb").read().decode("utf-8", "replace").splitlines()
               if l.startswith("R "))
said = [l.split(" says: ", 1) for l in open(sys.argv[2], encoding="utf-8").read().splitlines() if " says: " in l]
bots = [t.encode() for who, t in said if not who.endswith("tester")]
sys.exit(0 if b"hello from the zip" in got and any(t in got for t in bots) else 1)
PY
}
wait_for 20 got_lines || fail "the server's lines never reached the host"
echo "windows zip: a line each way (bar -> server, server -> host)"

"$wine" "$win/tests/package/package_drive.exe" help || fail "no input bar for the help item"
wait_for 20 test -s "$c/help-opened.txt" || fail "the help page was not opened"
python3 - "$c/help-opened.txt" <<'PY' || fail "the shell opened another file: $(cat "$c/help-opened.txt")"
import sys
seen = open(sys.argv[1], "rb").read().decode("cp932").strip().strip('"')
sys.exit(0 if seen.lower() == "c:\\program files\\てるー tellu\\tellu.html" else 1)
PY
echo "windows zip: the help page opened through the shell"

hwnd=$(grep -a "^ready " "$c/host.log" | head -1 | cut -d' ' -f2 | tr -d '\r')
"$wine" "$win/tests/package/package_drive.exe" close "$hwnd" || fail "the host window is gone"
wait_for 20 grep -aq "^exit" "$c/host.log" || fail "the host did not close"
"$wine" "$win/tests/package/package_drive.exe" close-bar || fail "tellu.exe ended with the host"
status=0; wait "$tellu" || status=$?; tellu=
[ $status -eq 0 ] || fail "tellu.exe exited with $status: $(cat "$work/tellu.out")"
cmp "$c/windows/RVK3.INI" "$c/windows/RVK3.INI.orig" || fail "the host's file changed at the end"
echo "windows zip: tellu.exe exited cleanly after the host window closed"
