#!/usr/bin/env python3
"""Prints a Windows shortcut's target, its working folder and its arguments,
one a line:
   read_shortcut.py <file.lnk>"""
import struct
import sys

data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 0x4C
if flags & 0x01:  # an item id list
    at += 2 + struct.unpack_from("<H", data, at)[0]
target = ""
if flags & 0x02:  # the link info, with the target's local path
    base = at + struct.unpack_from("<I", data, at + 16)[0]
    target = data[base:data.index(b"\0", base)].decode("cp1252")
    at += struct.unpack_from("<I", data, at)[0]
strings = {}
width = 2 if flags & 0x80 else 1
for bit in (0x04, 0x08, 0x10, 0x20, 0x40):  # name, relative path, working folder, arguments, icon
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        strings[bit] = data[at + 2:at + 2 + count * width].decode("utf-16-le" if width == 2 else "cp1252")
        at += 2 + count * width
print(target)
print(strings.get(0x10, "").rstrip("\0"))
print(strings.get(0x20, "").rstrip("\0"))
