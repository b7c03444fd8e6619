#!/usr/bin/env python3
"""Writes src/text/cp932_table.cpp: code page 932 as Windows maps it.

Decoding comes from Python's cp932 codec (Microsoft's table, with the single
bytes 80, A0 and FD-FF as Windows decodes them).  Encoding is the inverse,
choosing among duplicate codes as Windows does: JIS X 0208 rows first, then NEC
row 13, then the IBM rows FA-FC, and the NEC-selected IBM rows ED-EE last.
Python's own cp932 encoder does not follow Windows there (it maps U+2170 to
EE EF and accepts U+301C), so it is not used for that direction.

Both directions are checked against glibc's iconv and against Wine's
MultiByteToWideChar / WideCharToMultiByte(932).  Wine also supplies the
best-fit mappings Windows applies to text typed in other scripts (U+00E9 ->
"e"); those are only used for typed text, never for the wire.

Needs: python3, x86_64-w64-mingw32-gcc and wine (run from the repository).
Usage: tools/generators/gen_cp932.py [output path]
"""
import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LEADS = [b for b in range(0x81, 0xA0)] + [b for b in range(0xE0, 0xFD)]
TRAILS = [b for b in range(0x40, 0x7F)] + [b for b in range(0x80, 0xFD)]
assert len(TRAILS) == 188


def python_decode():
    table = {}
    for b in range(256):
        if b in LEADS:
            continue
        table[b] = ord(bytes([b]).decode("cp932"))
    for lead in LEADS:
        for trail in TRAILS:
            try:
                text = bytes([lead, trail]).decode("cp932")
            except UnicodeDecodeError:
                continue
            assert len(text) == 1
            table[lead << 8 | trail] = ord(text)
    return table


def priority(code):
    """Windows' preference among codes that decode to the same character."""
    lead = code >> 8
    if code < 0x100:
        return 0
    if lead == 0x87:
        return 2
    if 0xFA <= lead <= 0xFC:
        return 3
    if 0xED <= lead <= 0xEE:
        return 4
    return 1


def invert(decode):
    encode = {}
    for code, uni in decode.items():
        if uni not in encode or priority(code) < priority(encode[uni]):
            encode[uni] = code
    return encode


def check_iconv(decode, encode):
    libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
    libc.iconv_open.restype = ctypes.c_void_p
    libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
    libc.iconv.restype = ctypes.c_size_t

    def convert(handle, data):
        inbuf = ctypes.create_string_buffer(data, len(data))
        outbuf = ctypes.create_string_buffer(16)
        inptr = ctypes.c_char_p(ctypes.addressof(inbuf))
        outptr = ctypes.c_char_p(ctypes.addressof(outbuf))
        inleft = ctypes.c_size_t(len(data))
        outleft = ctypes.c_size_t(16)
        libc.iconv(handle, None, None, None, None)
        r = libc.iconv(handle, ctypes.byref(inptr), ctypes.byref(inleft),
                       ctypes.byref(outptr), ctypes.byref(outleft))
        if r == ctypes.c_size_t(-1).value or inleft.value:
            return None
        return outbuf.raw[:16 - outleft.value]

    to_uni = libc.iconv_open(b"UTF-16BE", b"CP932")
    from_uni = libc.iconv_open(b"CP932", b"UTF-16BE")
    # glibc leaves out the single bytes Windows maps to U+0080 and U+F8F0-F8F3.
    glibc_gaps = {0x80, 0xA0, 0xFD, 0xFE, 0xFF}
    codes = list(range(256)) + [l << 8 | t for l in LEADS for t in TRAILS]
    for code in codes:
        if code in LEADS:
            continue
        raw = bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])
        got = convert(to_uni, raw)
        want = decode.get(code)
        got = int.from_bytes(got, "big") if got else None
        if got != want and code not in glibc_gaps:
            sys.exit("iconv decodes %X as %s, table says %s" % (code, got, want))
    for uni, code in encode.items():
        if uni in (0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3):
            continue
        got = convert(from_uni, uni.to_bytes(2, "big"))
        got = int.from_bytes(got, "big") if got else None
        if got != code:
            sys.exit("iconv encodes U+%04X as %s, table says %X" % (uni, got, code))


WINE_DUMP = r"""
#include <windows.h>
#include <stdio.h>
static void put(FILE* f, char kind, unsigned key, const char* out, int n) {
  if (n == 1) fprintf(f, "%c %X %X\n", kind, key, (unsigned char)out[0]);
  else fprintf(f, "%c %X %X\n", kind, key,
               (unsigned char)out[0] << 8 | (unsigned char)out[1]);
}
int main(void) {
  FILE* f = fopen("wine932.txt", "w");
  for (int b = 0; b < 256; ++b) {
    char in[1] = {(char)b};
    WCHAR out[2];
    if (!IsDBCSLeadByteEx(932, (BYTE)b) &&
        MultiByteToWideChar(932, 0, in, 1, out, 2) == 1)
      fprintf(f, "D %X %X\n", b, out[0]);
  }
  for (int l = 0x81; l < 0x100; ++l)
    for (int t = 0; t < 0x100 && IsDBCSLeadByteEx(932, (BYTE)l); ++t) {
      char in[2] = {(char)l, (char)t};
      WCHAR out[2];
      if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, 2, out, 2) == 1)
        fprintf(f, "D %X %X\n", l << 8 | t, out[0]);
    }
  for (int u = 1; u < 0x10000; ++u) {
    if (u >= 0xD800 && u < 0xE000) continue;
    WCHAR in[1] = {(WCHAR)u};
    char out[4];
    BOOL used = FALSE;
    int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, in, 1, out, 4, NULL, &used);
    if (n > 0 && !used) put(f, 'E', u, out, n);
    used = FALSE;
    n = WideCharToMultiByte(932, 0, in, 1, out, 4, NULL, &used);
    if (n > 0 && !used) put(f, 'B', u, out, n);
  }
  fclose(f);
  return 0;
}
"""


def wine_tables():
    """Runs Windows' own conversions under Wine; returns decode, encode, best fit."""
    gcc = shutil.which("x86_64-w64-mingw32-gcc")
    if not gcc:
        sys.exit("x86_64-w64-mingw32-gcc is needed to ask Wine")
    env = dict(os.environ)
    env["PATH"] = "/usr/lib/wine:" + env.get("PATH", "")
    with tempfile.TemporaryDirectory() as tmp:
        with open(os.path.join(tmp, "dump.c"), "w") as f:
            f.write(WINE_DUMP)
        subprocess.run([gcc, "-O2", "-o", "dump.exe", "dump.c"], cwd=tmp, check=True)
        subprocess.run([os.path.join(ROOT, "tools", "wine-run"), "./dump.exe"],
                       cwd=tmp, env=env, check=True)
        tables = {"D": {}, "E": {0: 0}, "B": {0: 0}}
        with open(os.path.join(tmp, "wine932.txt")) as f:
            for line in f:
                kind, key, value = line.split()
                tables[kind][int(key, 16)] = int(value, 16)
    return tables["D"], tables["E"], tables["B"]


def rows_text(decode):
    used = [lead for lead in LEADS
            if any((lead << 8 | t) in decode for t in TRAILS)]
    index = [0xFF] * 256
    for i, lead in enumerate(used):
        index[lead] = i
    rows = []
    for lead in used:
        cells = [decode.get(lead << 8 | t, 0) for t in TRAILS]
        lines = ["    " + ", ".join("0x%04X" % c for c in cells[i:i + 12]) + ","
                 for i in range(0, len(cells), 12)]
        rows.append("  {  // %02X\n%s\n  }," % (lead, "\n".join(lines)))
    return index, "\n".join(rows), len(used)


def array_text(values, fmt, per_line, indent="  "):
    return "\n".join(indent + ", ".join(fmt % v for v in values[i:i + per_line]) + ","
                     for i in range(0, len(values), per_line))


def main():
    out_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        ROOT, "src", "text", "cp932_table.cpp")
    decode = python_decode()
    encode = invert(decode)
    check_iconv(decode, encode)
    wine_decode, wine_encode, wine_best = wine_tables()
    if wine_decode != decode:
        diff = set(wine_decode.items()) ^ set(decode.items())
        sys.exit("Wine decodes differently: %s" % sorted(diff)[:10])
    if wine_encode != encode:
        diff = set(wine_encode.items()) ^ set(encode.items())
        sys.exit("Wine encodes differently: %s" % sorted(diff)[:10])
    best_fit = {u: c for u, c in wine_best.items() if u not in encode}
    for uni, code in best_fit.items():
        # A best-fit target must itself be a preferred code, so that typed
        # text reads back as the same bytes.
        assert encode[decode[code]] == code, (hex(uni), hex(code))

    single = [decode.get(b, 0xFFFF) for b in range(256)]
    index, rows, row_count = rows_text(decode)
    pairs = sorted(u << 16 | c for u, c in encode.items())
    fits = sorted(u << 16 | c for u, c in best_fit.items())
    text = f"""// Generated by tools/generators/gen_cp932.py from Microsoft's code page 932
// table, checked against glibc and Wine; do not edit.
#include "text/cp932_table.h"

namespace tellu::text::cp932 {{

const char16_t kSingle[256] = {{
{array_text(single, "0x%04X", 12)}
}};

const uint8_t kRowOfLead[256] = {{
{array_text(index, "0x%02X", 16)}
}};

const char16_t kRows[{row_count}][188] = {{
{rows}
}};

const uint32_t kEncode[{len(pairs)}] = {{
{array_text(pairs, "0x%08X", 8)}
}};
const size_t kEncodeSize = {len(pairs)};

const uint32_t kBestFit[{len(fits)}] = {{
{array_text(fits, "0x%08X", 8)}
}};
const size_t kBestFitSize = {len(fits)};

}}  // namespace tellu::text::cp932
"""
    with open(out_path, "w") as f:
        f.write(text)
    print("%s: %d codes, %d encodings, %d best fits" %
          (out_path, len(decode), len(pairs), len(fits)))


if __name__ == "__main__":
    main()
