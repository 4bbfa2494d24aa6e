#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets into corpus/<target>/.

Run from this folder; the seeds are committed, so this only needs running again
when a seed is added. The fuzzers add what they find in their own work folders.
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "tests", "data")


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def wide_title(text):
    units = text.encode("utf-16-le")
    n = len(units) // 2
    if n < 255:
        head = bytes([n])
    else:
        head = b"\xff" + struct.pack("<H", n)
    return b"\xff\xfe\xff" + head + units


def reading(id_, y, mo, d, h, mi, s, spo2, pr, aux):
    return struct.pack("<9BH", id_, y, mo, d, h, mi, s, spo2, pr, aux)


# .dat reader: every committed sample plus a few edges.
for name in sorted(os.listdir(DATA)):
    if name.endswith(".dat"):
        with open(os.path.join(DATA, name), "rb") as f:
            put("fuzz_dat_reader", name, f.read())
put("fuzz_dat_reader", "title-60.dat",
    bytes([5]) + struct.pack("<I", 1) + reading(5, 24, 2, 29, 23, 59, 59, 97, 250, 0xFFFF) + wide_title("t" * 60))
put("fuzz_dat_reader", "title-short-by-one.dat",
    bytes([5]) + struct.pack("<I", 1) + reading(5, 24, 2, 29, 23, 59, 59, 97, 250, 0xFFFF) + wide_title("abc")[:-1])

# Title decoder: each length form, wide and narrow.
put("fuzz_title_decoder", "wide-empty", wide_title(""))
put("fuzz_title_decoder", "wide-short", wide_title("Night \u00e9t\u00e9"))
put("fuzz_title_decoder", "wide-300", wide_title("x" * 300))
put("fuzz_title_decoder", "narrow", bytes([6]) + b"Ward B")
put("fuzz_title_decoder", "narrow-u16", b"\xff" + struct.pack("<H", 3) + b"abc")
put("fuzz_title_decoder", "narrow-u32", b"\xff\xff\xff" + struct.pack("<I", 2) + b"ab")
put("fuzz_title_decoder", "wide-u32", b"\xff\xfe\xff\xff\xff\xff" + struct.pack("<I", 1) + b"a\x00")

# Patient record: 544 bytes, one filled, one with every text field full.
def patient(id_, name, full=False):
    def text(s, width):
        units = [ord(c) for c in s][:width]
        if full:
            units = [0x41 + (i % 26) for i in range(width)]
        return struct.pack("<%dH" % width, *(units + [0] * (width - len(units))))
    return (struct.pack("<i", id_) + text(name, 30) + struct.pack("<iiff", 1, 61, 170.0, 72.5) + text("Dr. Who", 40) +
            text("note one", 50) + text("note two", 50) + text("comments", 90) + struct.pack("<i", 1))


put("fuzz_patient_record", "filled", patient(7, "Ann Example"))
put("fuzz_patient_record", "full-width", patient(127, "", full=True))
put("fuzz_patient_record", "empty", bytes(544))
put("fuzz_patient_record", "one-short", bytes(543))


# Device frames: 55 AA status tag(2) length(2) payload checksum.
def frame(status, tag, payload):
    f = bytes([0x55, 0xAA, status, tag >> 8, tag & 0xFF, len(payload) >> 8, len(payload) & 0xFF]) + payload
    return f + bytes([sum(f) & 0xFF])


def info_reply(model, baud):
    p = bytearray(30)
    p[0:2] = struct.pack(">H", model)
    p[2:6] = struct.pack(">I", baud)
    p[10:16] = bytes([1, 2, 3, 4, 5, 6])
    return frame(0, 0xFFFD, bytes(p))


def count_reply(frames, extra1, extra2):
    p = bytearray(30)
    p[2:4] = struct.pack(">H", frames)
    p[6:8] = struct.pack(">H", extra1)
    p[10:12] = struct.pack(">H", extra2)
    return frame(0, 0xFFFB, bytes(p))


put("fuzz_device_replies", "info-model2", info_reply(2, 115200))
put("fuzz_device_replies", "info-model3", info_reply(3, 38400))
put("fuzz_device_replies", "count", count_reply(12, 1, 2))
put("fuzz_device_replies", "ack-clock", frame(0, 0xFFF9, bytes(30)))
put("fuzz_device_replies", "ack-delete", frame(0, 0xFFFA, bytes(30)))
put("fuzz_device_replies", "short", bytes([0x55, 0xAA, 0, 0xFF]))


def wire_record(id_, y, mo, d, h, mi, s, spo2, pr, aux, reverse):
    r = [
        (id_ & 0x7F) | ((y & 1) << 7),
        ((y >> 1) & 0x3F) | ((mo & 3) << 6),
        ((mo >> 2) & 3) | ((d & 0x1F) << 2) | ((h & 1) << 7),
        ((h >> 1) & 0x0F) | ((mi & 0x0F) << 4),
        ((mi >> 4) & 3) | ((s & 0x3F) << 2),
        (spo2 & 0x7F) | ((pr & 1) << 7),
        ((pr >> 1) & 0x7F) | ((aux & 1) << 7),
        (aux >> 1) & 0xFF,
    ]
    return bytes(reversed(r) if reverse else r)


def data_frames(model, reverse):
    out = b""
    for k in range(3):
        records = b"".join(wire_record(1 + (k + i) % 3, 26, 3, 14, 23, k, i, 95, 70, 0, reverse) for i in range(4))
        out += frame(0, k, records)
    return out + frame(0, 0xFFFE, b"")


# Frame assembler input: model byte, piece-size byte, then the stream.
put("fuzz_frame_assembler", "model2-frames", bytes([2, 63]) + data_frames(2, False))
put("fuzz_frame_assembler", "model3-frames", bytes([3, 5]) + data_frames(3, True))
put("fuzz_frame_assembler", "lost-byte", bytes([2, 0]) + data_frames(2, False)[1:])
put("fuzz_frame_assembler", "too-long", bytes([2, 7]) + frame(0, 1, bytes(4200)) + data_frames(2, False))

# Raw dumps: an exchange as the recorder writes it, and the edges of the offset.
put("fuzz_raw_dump", "exchange",
    b"# quellix raw dump 1\n0.000000 @ /dev/pts/3\n0.000012 > 55 AA FD 00 00 FD\n"
    b"0.104000 < " + info_reply(2, 115200).hex(" ").upper().encode() + b"\n"
    b"# a comment\n1.5 > 55 AA FB 00 00 FB\n")
put("fuzz_raw_dump", "largest-offset", b"# quellix raw dump 1\n9223372036854.775807 < 00 FF\n")
put("fuzz_raw_dump", "offset-too-large", b"# quellix raw dump 1\n9223372036854775807 > 55\n")

# CSV import: the layouts the reader knows, and a few that it must refuse.
put("fuzz_csv_import", "own-export", b"time,spo2,pulse_rate\r\n2026-03-14T22:30:00,97,61\r\n2026-03-14T22:30:01,96,62\r\n")
put("fuzz_csv_import", "ring-unquoted",
    b"Time,Oxygen Level,Pulse Rate,Motion\n08:48:26PM Nov 27, 2025,95,60,0\n08:48:30PM Nov 27, 2025,94,61,2\n")
put("fuzz_csv_import", "ring-reminders",
    b"Time,SpO2(%),Pulse Rate(bpm),Motion,SpO2 Reminder,PR Reminder,\n"
    b"18:02:48 Aug 03 2026,97,58,0,0,0,\n18:02:50 Aug 03 2026,255,65535,3,0,0,\n")
put("fuzz_csv_import", "day-first", b"\xef\xbb\xbftimestamp;SpO2;HR\n22:15:03 27/11/2025;97;58\n22:15:07 27/11/2025;--;\n")
put("fuzz_csv_import", "quoted", b'time\tspo2\tpr\tnote\n"2026/03/14 22:30:00"\t97\t61\t"a ""b""\nc"\n')
put("fuzz_csv_import", "no-header", b"2026-03-14 22:30:00,95,60\n2026-03-14 22:30:04,95,60\n")


# EDF import: EDF+C with SpO2, pulse and a plethysmogram, EDF+D with onsets.
def edf(signals, records, reserved=b"", duration=1, patient=b"X", onsets=None):
    """signals: (label, dimension, phys_min, phys_max, dig_min, dig_max, samples, value(record, i))"""
    sigs = list(signals)
    if onsets is not None:
        sigs.append((b"EDF Annotations", b"", -1, 1, -32768, 32767, 15, None))
    n = len(sigs)

    def f(v, w):
        return (v if isinstance(v, bytes) else str(v).encode()).ljust(w)[:w]

    head = (f(0, 8) + f(patient, 80) + f(b"Startdate 14-MAR-2026 X X X", 80) + f(b"14.03.26", 8) +
            f(b"22.30.00", 8) + f(256 * (n + 1), 8) + f(reserved, 44) + f(records, 8) + f(duration, 8) + f(n, 4))
    for width, k in ((16, 0), (80, None), (8, 1), (8, 2), (8, 3), (8, 4), (8, 5), (80, None), (8, 6), (32, None)):
        head += b"".join(f(b"" if k is None else s[k], width) for s in sigs)
    body = b""
    for r in range(records):
        for s in sigs:
            if s[7] is None:
                body += (b"+%d\x14\x14\x00" % onsets[r]).ljust(2 * s[6], b"\x00")
            else:
                body += b"".join(struct.pack("<h", s[7](r, i)) for i in range(s[6]))
    return head + body


put("fuzz_edf_import", "edfplus-c-4hz",
    edf([(b"SpO2", b"%", 0, 100, 0, 1000, 4, lambda r, i: 900 + 10 * i),
         (b"Pulse", b"bpm", 0, 250, 0, 250, 4, lambda r, i: 60 + r),
         (b"Pleth", b"", -1, 1, -32768, 32767, 8, lambda r, i: i * 100)], 3, b"EDF+C",
        patient=b"X F X Ann_Lee", onsets=[0, 1, 2]))
put("fuzz_edf_import", "edfplus-d",
    edf([(b"SaO2", b"%", 0, 255, 0, 255, 1, lambda r, i: 95),
         (b"HR", b"bpm", 0, 255, 0, 255, 1, lambda r, i: 255)], 3, b"EDF+D", onsets=[0, 5, 20]))
put("fuzz_edf_import", "edf-slow", edf([(b"Sat", b"%", 0, 255, 0, 255, 1, lambda r, i: 90 + r)], 3, duration=4))
