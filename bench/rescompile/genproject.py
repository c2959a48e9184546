#!/usr/bin/env python3
"""Adds the benchmark's entries to a project that `vesper rc new` wrote:
STRINGS strings, ICONS icons and RCDATA_MB megabytes of RCDATA in 1 MB files.
Usage: genproject.py PROJECT.VRF FOLDER STRINGS ICONS RCDATA_MB"""
import os, random, struct, sys

vrf, folder, nstr, nico, mb = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])

def lstr(s):
    b = s.encode("latin-1")
    return struct.pack("<I", len(b)) + b

def section(tag, close, count, body):
    return struct.pack("<II", tag, count) + body + struct.pack("<II", close, 0xFFFF0000)

def icon_file(seed):
    rnd = random.Random(seed)
    images = []
    for w, bpp in ((16, 32), (32, 32), (48, 8)):
        info = struct.pack("<IiiHHIIiiII", 40, w, 2 * w, 1, bpp, 0, 0, 0, 0, 0, 0)
        images.append(info + rnd.randbytes(w * w * bpp // 8) + bytes(((w + 31) // 32) * 4 * w))
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, bpp), im in zip(((16, 32), (32, 32), (48, 8)), images):
        head += struct.pack("<BBBBHHII", w % 256, w % 256, 0, 0, 1, bpp, len(im), offset)
        offset += len(im)
    return head + b"".join(images)

strings = b"".join(struct.pack("<H", i + 1) + lstr("IDS_S%05d" % (i + 1)) + lstr("String number %d with some text" % i)
                   for i in range(nstr))
icons = b""
for i in range(nico):
    path = os.path.join(folder, "i%04d.ico" % i)
    with open(path, "wb") as f:
        f.write(icon_file(i))
    icons += struct.pack("<H", i + 1) + lstr("IDI_I%04d" % i) + lstr(path) + struct.pack("<HH", 25, 0)
rcdata = b""
rnd = random.Random(7)
for i in range(mb):
    path = os.path.join(folder, "d%03d.bin" % i)
    with open(path, "wb") as f:
        f.write(rnd.randbytes(1 << 20))
    rcdata += struct.pack("<H", i + 1) + lstr("IDR_D%03d" % i) + lstr(path) + struct.pack("<HH", 25, 0)

data = open(vrf, "rb").read()
assert data[-4:] == b"\xff\xff\xff\xff"
extra = section(0xF150, 0xF1FF, nstr, strings)
if mb:
    extra += section(0xF650, 0xF6FF, mb, rcdata)
if nico:
    extra += section(0xF250, 0xF2FF, nico, icons)
open(vrf, "wb").write(data[:-4] + extra + data[-4:])
