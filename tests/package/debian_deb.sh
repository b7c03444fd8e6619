#!/usr/bin/env bash
# The Debian package on a clean root: unpacked with dpkg-deb alone, its
# tellu-cli runs the demo smoke; the control file names libedit, the man
# page renders without a warning and lintian finds no error.
#   debian_deb.sh DEB CHATSIM_DIR
set -euo pipefail
deb=$(realpath "$1"); chatsim_dir=$(realpath "$2")
top=$(cd "$(dirname "$0")/../.." && pwd)
root=$top/build/package-test/debian
rm -rf "$root"; mkdir -p "$root/bin"
fail() { echo "debian package: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$root/root"
for f in usr/bin/tellu-cli usr/share/man/man1/tellu-cli.1.gz usr/share/doc/tellu-cli/tellu.html \
         usr/share/doc/tellu-cli/copyright; do
  [ -f "$root/root/$f" ] || fail "no $f in the package"
done
dpkg-deb -f "$deb" Depends | grep -q "libedit" || fail "Depends names no libedit: $(dpkg-deb -f "$deb" Depends)"
echo "debian package: Depends: $(dpkg-deb -f "$deb" Depends)"

warnings=$(MANWIDTH=80 man --warnings -l "$root/root/usr/share/man/man1/tellu-cli.1.gz" 2>&1 >/dev/null || true)
[ -z "$warnings" ] || fail "the man page warns: $warnings"
echo "debian package: the man page renders without warnings"

# lintian's exit status is 0 unless it reports an error.
lintian --allow-root --tag-display-limit 0 "$deb" >"$root/lintian.txt" 2>&1 ||
  { cat "$root/lintian.txt"; fail "lintian reports an error"; }
echo "debian package: lintian: no error ($(grep -c '^W:' "$root/lintian.txt" || true) warnings)"
grep '^W:' "$root/lintian.txt" || true

# The unpacked program beside the build's chatsim, as the demo expects them.
ln -s "$root/root/usr/bin/tellu-cli" "$root/bin/tellu-cli"
ln -s "$chatsim_dir/chatsim" "$root/bin/chatsim"
TELLU_DEMO_BIN=$root/bin "$top/run" demo --smoke
