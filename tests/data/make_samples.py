#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the committed sample recordings used by the reader tests.

Run from this folder; the files are committed, so this only needs running again
when a sample is added. Valid files start with "valid-", refused ones with "bad-".
"""
import struct


def reading(id_, y, mo, d, h, mi, s, spo2, pr, aux):
    return struct.pack("<9BH", id_, y, mo, d, h, mi, s, spo2, pr, aux)


def wide_title(text):
    units = text.encode("utf-16-le")
    n = len(units) // 2
    assert n < 255
    return b"\xff\xfe\xff" + bytes([n]) + units


def narrow_title(text):
    raw = text.encode("latin-1")
    assert len(raw) < 255
    return bytes([len(raw)]) + raw


def recording(header, readings, title):
    return bytes([header]) + struct.pack("<I", len(readings)) + b"".join(readings) + title


def night(id_, count, start_second=0):
    out = []
    for i in range(count):
        t = start_second + i
        out.append(reading(id_, 26, 3, 14, 23, (t // 60) % 60, t % 60, 90 + i % 10, 60 + i % 40, 0x1FF - i))
    return out


files = {
    "valid-empty.dat": recording(0, [], wide_title("")),
    "valid-night-id7.dat": recording(7, night(7, 5), wide_title("Sleep lab \u2013 room 4 \u00e9t\u00e9")),
    "valid-narrow-title.dat": recording(3, night(3, 2), narrow_title("Ward B")),
    "valid-id128-bounds.dat": recording(128, [reading(128, 12, 2, 29, 0, 0, 0, 100, 30, 0)], wide_title("")),
    "bad-empty.dat": b"",
    "bad-header-129.dat": recording(129, night(1, 1), wide_title("")),
    "bad-too-many.dat": bytes([1]) + struct.pack("<I", 259201) + b"\0" * 16,
    "bad-short-by-one.dat": recording(1, night(1, 2), b"\0"),
    "bad-long-by-one.dat": recording(1, night(1, 1), wide_title("x" * 60)) + b"\0",
    "bad-reading-id-129.dat": recording(1, night(1, 1) + [reading(129, 26, 3, 14, 23, 0, 1, 95, 70, 0)], wide_title("")),
    "bad-feb29-2011.dat": recording(1, [reading(1, 11, 2, 29, 10, 0, 0, 95, 70, 0)], wide_title("")),
    "bad-hour-24.dat": recording(1, [reading(1, 26, 3, 14, 24, 0, 0, 95, 70, 0)], wide_title("")),
    "bad-spo2-101.dat": recording(1, night(1, 2) + [reading(1, 26, 3, 14, 23, 0, 2, 101, 70, 0)], wide_title("")),
    "bad-pulse-29.dat": recording(1, [reading(1, 26, 3, 14, 23, 0, 0, 95, 29, 0)], wide_title("")),
    "bad-title-past-end.dat": recording(1, night(1, 1), b"\xff\xfe\xff" + bytes([60]) + b"a\0" * 5),
}

for name, data in files.items():
    with open(name, "wb") as f:
        f.write(data)
