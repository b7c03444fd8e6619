#!/bin/sh
# Prepares the Wine prefix for the Windows tests; running it again changes
# nothing.  Fonts: "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" (and their English
# names) become the IPA Gothic fonts, and Wine's menu and message font borrows
# Japanese glyphs from IPA P Gothic, so the screenshots show real text.
# Frames: a headless X server has no window manager, so Wine draws captions
# and frames itself instead of waiting for one to manage its windows.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
mkdir -p "$WINEPREFIX/drive_c"
reg="$WINEPREFIX/drive_c/tellu-setup.reg"
# regedit reads UTF-16 with a byte-order mark, whatever the host's locale.
python3 - "$reg" <<'PY'
import sys
pairs = [("\uff2d\uff33 \u30b4\u30b7\u30c3\u30af", "IPAGothic"),    # ＭＳ ゴシック
         ("\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af", "IPAPGothic"),  # ＭＳ Ｐゴシック
         ("MS Gothic", "IPAGothic"), ("MS PGothic", "IPAPGothic"), ("MS UI Gothic", "IPAPGothic")]
lines = ["Windows Registry Editor Version 5.00", "",
         r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]"]
lines += ['"%s"="%s"' % p for p in pairs]
# Font linking: Tahoma (Wine's menu font) and Microsoft Sans Serif fall back to
# IPA P Gothic for the characters they lack.
link = "ipagp.ttf,IPAPGothic\0\0".encode("utf-16-le")
value = "hex(7):" + ",".join("%02x" % b for b in link)
# Wine's own replacements survive the rewrite of the substitutes that Wine
# does when the locale changes, and they also catch "MS UI Gothic", the face
# a Japanese locale gives the dialogs and menus.
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]"]
lines += ['"%s"="%s"' % p for p in pairs]
lines += ["", r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]"]
lines += ['"Tahoma"=' + value, '"Microsoft Sans Serif"=' + value]
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\X11 Driver]", '"Managed"="N"']
with open(sys.argv[1], "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode("utf-16"))
PY
"$here/tools/wine-run" regedit /S 'C:\tellu-setup.reg'
