#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into corpus/<target>/seed-*.

The files libFuzzer adds when merging (named by their SHA-1) are left alone. The gzip
streams come from the system's gzip and from Python's zlib."""
import os
import struct
import subprocess
import zlib

here = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(here, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(data)


def gbk(text):
    return text.encode("gbk")


# ---- config.ini values ----
values = {
    "zero": b"0", "negative": b"-20", "int-max": b"2147483647", "int-min": b"-2147483648",
    "above-int-max": b"2147483648", "below-int-min": b"-2147483649", "leading-zeros": b"007",
    "zero-padded-12": b"000000000007", "empty": b"", "space-before": b" 5", "space-after": b"5 ",
    "word": b"abc", "digits-then-word": b"12abc", "hex": b"0x20", "exponent": b"1e3", "two-minus": b"--5",
    "plus": b"+5", "minus-only": b"-", "eleven-digits": b"99999999999", "gbk": gbk("五十"), "nul-inside": b"1\x002",
    "minus-zero": b"-0", "long-zeros": b"0" * 40 + b"839",
}
for name, data in values.items():
    write("config_value", name, data)


# ---- config.ini files ----
def ini(lines, end="\r\n"):
    return "".join(line + end for line in lines).encode("gbk")


prefixes = ["window", "window2", "window3", "window4", "window5"]
fields = ["Left", "Top", "Winth", "High"]
written = ["[config]"] + [f"{p} {f}={v}" for i, p in enumerate(prefixes) for f, v in zip(fields, [50 + i, 60 + i, 900, 650])]
files = {
    "as-written": ini(written),
    "lf-only": ini(written, "\n"),
    "no-final-newline": ini(written)[:-2],
    "empty": b"",
    "other-sections-around": ini(["[before]", "a=1", "window Left=7"] + written + ["[after]", "b = two ", "window2 Top=8"]),
    "section-twice": ini(["[config]", "window Left=10", "[CONFIG]", "window Left=20", "window Top=30"]),
    "keys-odd-case-and-spaces": ini(["  [ Config ]  ", "WINDOW LEFT = 70 ", "\twindow Top\t=\t80", "window  Winth=900"]),
    "bad-values": ini(["[config]", "window Left=abc", "window Top=", "window Winth=99999999999", "window High=0x20",
                       "window2 Left=-2147483649", "window3 Top=1e3"]),
    "far-off-screen": ini(["[config]", "window Left=2147483647", "window Top=2147483647", "window Winth=2147483647",
                           "window High=2147483647", "window2 Left=-2147483648", "window2 Top=-2147483648",
                           "window2 Winth=-2147483648", "window2 High=-2147483648", "window4 Left=5000", "window4 Top=4000"]),
    "sizes-below-minimum": ini(["[config]", "window Winth=10", "window High=-5", "window3 Winth=0", "window3 High=150"]),
    "unclosed-section": ini(["[config", "window Left=5", "[config]", "window Top=6", "[other", "window Winth=900"]),
    "no-section": ini(["window Left=5", "window Top=6"]),
    "lines-without-equals": ini(["[config]", "window Left", "=", "=5", "window Top==7", "[]", "=8"]),
    "gbk-keys": ini(["[配置]", "窗口 左边=5", "[config]", "window Left=12", "备注=青岚"]),
    "utf8-bom": b"\xef\xbb\xbf" + ini(written),
    "cr-only": ini(written, "\r"),
    "nul-bytes": ini(["[config]", "window Left=1\x002", "x\x00y=3"]),
    "duplicate-keys": ini(["[config]", "window Left=1", "window Left=2", "window Left=3"]),
    "section-empty-then-other": ini(["[config]", "", "   ", "[other]", "k=v"]),
}
for name, data in files.items():
    write("config_ini", name, data)

# ---- constants tables ----
tables = {
    "messages": gbk("名称--十进制值--十六进制值--备注\r\nWM_NULL--0--0000--空消息\r\nWM_CREATE--1--0001--创建窗口\r\n"),
    "negative-codes": gbk("名称--十进制值--十六进制值--备注\r\nLBN_ERRSPACE---2--00-2--列表框内存不够\r\n"),
    "remark-with-dashes": gbk("名称--值--读/写--备注\r\n211--int--R--0--a--1--b--2--c\r\n"),
    "no-final-line-end": b"t\r\nr1--a--b--c",
    "empty": b"",
    "only-separators": b"\r\n--\r\n----\r\n\r\n",
    "lone-cr-and-lf": b"a\rb--c\nd\r\r\n\n\r-\r\n-",
    "odd-dashes": b"a---b-----c------d-",
    "cr-cr-lf": b"\r\r\n\r\n\n",
}
for name, data in tables.items():
    write("constants_table", name, data)

# ---- GZIP.dll Decompress: options, size count, sizes, stream ----
GZIP, RAW = 0x01, 0x00
RESET, BY_ADDRESS, NULL_EMPTY = 0x10, 0x20, 0x40
text = gbk("青岚编程助手 " * 40) + bytes(range(256)) + b"The quick brown fox jumps over the lazy dog. " * 30


def seed(options, sizes, stream):
    return bytes([options, len(sizes)]) + bytes(sizes) + stream


def raw_deflate(data, level=6, strategy=zlib.Z_DEFAULT_STRATEGY):
    c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, strategy)
    return c.compress(data) + c.flush()


def gzip_member(data, flags=0, extra=b"", name=b"", comment=b""):
    header = bytearray(b"\x1f\x8b\x08" + bytes([flags]) + struct.pack("<I", 0) + b"\x00\x03")
    if flags & 4:
        header += struct.pack("<H", len(extra)) + extra
    if flags & 8:
        header += name + b"\x00"
    if flags & 16:
        header += comment + b"\x00"
    if flags & 2:
        header += struct.pack("<H", zlib.crc32(bytes(header)) & 0xFFFF)
    return bytes(header) + raw_deflate(data) + struct.pack("<II", zlib.crc32(data), len(data) & 0xFFFFFFFF)


by_gzip = subprocess.run(["gzip", "-c", "-9", "-n"], input=text, stdout=subprocess.PIPE, check=True).stdout
by_gzip_empty = subprocess.run(["gzip", "-c", "-n"], input=b"", stdout=subprocess.PIPE, check=True).stdout
zlib_stream = zlib.compress(text)
dictionary_stream = (lambda c: c.compress(text) + c.flush())(zlib.compressobj(6, zlib.DEFLATED, 15, 8, zlib.Z_DEFAULT_STRATEGY, text[:64]))
bad_crc = bytearray(by_gzip)
bad_crc[-8] ^= 0xFF
stored = raw_deflate(text[:300], level=0)
streams = {
    "gzip-one-shot": seed(GZIP, [], by_gzip),
    "gzip-one-byte-pieces": seed(GZIP, [1, 1], by_gzip),
    "gzip-one-byte-output": seed(GZIP | RESET, [127, 1], by_gzip),
    "gzip-no-output-room": seed(GZIP, [64, 0, 64, 0, 64, 200], by_gzip),
    "gzip-empty-data": seed(GZIP | NULL_EMPTY, [], by_gzip_empty),
    "gzip-empty-data-no-output": seed(GZIP | NULL_EMPTY | RESET, [20, 0], by_gzip_empty),
    "gzip-header-fields": seed(GZIP | RESET, [3, 7], gzip_member(text, 2 | 4 | 8 | 16, b"ab\x02\x00xy", b"name", b"comment")),
    "gzip-bad-crc": seed(GZIP | BY_ADDRESS, [200, 130], bytes(bad_crc)),
    "gzip-truncated": seed(GZIP | RESET, [5, 3], by_gzip[: len(by_gzip) // 2]),
    "gzip-cut-in-trailer": seed(GZIP, [0, 129, 130, 129], by_gzip[:-3]),
    "gzip-two-members": seed(GZIP | RESET, [], by_gzip + by_gzip),
    "gzip-trailing-garbage": seed(GZIP, [9, 11], by_gzip + b"garbage"),
    "zlib-through-gzip-flag": seed(GZIP | RESET, [2, 255], zlib_stream),
    "zlib-with-dictionary": seed(GZIP | RESET, [], dictionary_stream),
    "zlib-flag-bits-3": seed(0x03, [50, 5], zlib_stream),
    "raw-deflate": seed(RAW | RESET, [13, 17], raw_deflate(text)),
    "raw-stored-block": seed(RAW | NULL_EMPTY, [0, 1, 1, 0], stored),
    "raw-huffman-only": seed(0x02, [128, 128], raw_deflate(text, 9, zlib.Z_HUFFMAN_ONLY)),
    "raw-given-gzip": seed(RAW | RESET, [], by_gzip),
    "raw-distance-too-far": seed(RAW | RESET, [], b"\x63\x00\x42\x10\x00"),
    "raw-run-of-zeros": seed(RAW | RESET, [255, 255], raw_deflate(b"\x00" * 200000, 9)),
    "no-stream": seed(GZIP, [1, 1], b""),
}
for name, data in streams.items():
    write("gzip_decompress", name, data)
