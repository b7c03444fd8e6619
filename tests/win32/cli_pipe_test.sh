#!/bin/sh
# tellu-cli.exe under Wine with a Unix pipe as standard input, which Wine
# cannot peek: the lines still arrive, and /quit ends the run while the host
# is awaited, with the host's configuration put back.
# usage: cli_pipe_test.sh WINE-RUN TELLU-CLI.EXE
set -eu
run=$1
cli=$2
dir=$(mktemp -d /tmp/tellu-cli-pipe.XXXXXX)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/windows" "$dir/rvk3"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

printf '; host\r\n[Server]\r\nHost = 127.0.0.1\r\nPath=%s\r\n' "$(winpath "$dir/rvk3")" \
  > "$dir/windows/RVK3.INI"
cp "$dir/windows/RVK3.INI" "$dir/original.ini"
# No host program: only the input can end the wait before its 30 s.
printf '[SYSTEM]\r\nRN=%d\r\n[SYS1]\r\nINIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\nPROG=&\\nohost.exe\r\nSearchTimer=30\r\n' \
  $((20000 + $$ % 20000)) > "$dir/windows/TELLU.INI"

status=0
printf '/status 9\n/quit\n' |
  "$run" "$cli" --windows-dir "$(winpath "$dir/windows")" > "$dir/out" 2> "$dir/err" || status=$?

fail() {
  echo "cli_pipe_test: $1" >&2
  cat "$dir/err" >&2
  exit 1
}
[ "$status" -eq 0 ] || fail "exit status $status, not 0"
grep -q 'usage: /status N' "$dir/out" || fail "the typed command had no answer"
cmp -s "$dir/original.ini" "$dir/windows/RVK3.INI" || fail "RVK3.INI was not put back"
[ ! -e "$dir/windows/RVK3.sav" ] || fail "RVK3.sav is left"
echo "cli_pipe_test: passed"
