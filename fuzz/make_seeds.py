#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target from the demo locations (build/native/make_demo writes them).

Usage: fuzz/make_seeds.py DEMO_DIR [CORPUS_DIR]. The targets split their input with FuzzedDataProvider:
texts are read from the front, each ended by a backslash and one more byte, numbers from the back.
"""
import os
import struct
import sys


def text(part: bytes) -> bytes:
    """A FuzzedDataProvider random-length string: backslashes doubled, ended by backslash and one byte."""
    return part.replace(b"\\", b"\\\\") + b"\\;"


def write(corpus, target, name, data):
    folder = os.path.join(corpus, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def main():
    demo = sys.argv[1]
    corpus = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), "corpus")
    locations = sorted(d for d in os.listdir(demo) if os.path.isdir(os.path.join(demo, d)))
    for location in locations:
        folder = os.path.join(demo, location)
        read = lambda name: open(os.path.join(folder, name), "rb").read()
        state, work_unit, user_info = read("state.sah"), read("work_unit.sah"), read("user_info.sah")
        log_lines = read("SETILog.csv").splitlines(keepends=True)
        header = work_unit[:work_unit.find(b"subband_sample_rate")]
        log = b"".join(log_lines[:4])
        # Numbers come from the end: flags, times and sizes that the target reads before its texts.
        now = struct.pack("<q", 1000000000)
        write(corpus, "state", location, text(header) + text(b"prog=") + state +
              bytes([1, 1]) + struct.pack("<QqQ", 130000000600000000, 1000000000, 4000))
        write(corpus, "describe", location, text(b"2.5") + text(header) + user_info +
              struct.pack("<qq", 31536000, 1000000000) + bytes([1]))
        write(corpus, "log", location, text(b"bg_pot") + log + struct.pack("<Q", 4096))
        for line in log_lines[1:3]:
            fields = line.decode("latin-1").split(",")
            write(corpus, "names", location + "_" + fields[1][:8], text(fields[27].encode()) + text(fields[28].encode())
                  + fields[1].encode() + struct.pack("<qq", int(float(fields[2])), 100))
            write(corpus, "pot", location + "_bg", fields[12].encode() + struct.pack("<Q", 6))
            write(corpus, "pot", location + "_bt", fields[26].encode() + struct.pack("<Q", 8))
            write(corpus, "date", location + "_" + fields[1][:8], fields[29].strip().encode())
        start = state.find(b"bp_pot=")
        write(corpus, "pot", location + "_bp", state[start + 7:state.find(b"\n", start)] + struct.pack("<Q", 2))
    write(corpus, "date", "plain", b"Sat Jul 15 22:31:54 2000")
    write(corpus, "location", "stored",
          text(b"C:\\seti") + text(b"C:\\Clients\\Home;Home;65535;Y;Y;Y;Y") + text(b"C:\\Office\\;Office;255") +
          text(b"C:\\a;b;c;d;e") + text(b"D:\\x;y;1;N;Y;N;Y") + bytes([0]))
    write(corpus, "layout", "placement", b"0,1,-1,-1,-1,-1,10,20,610,420" + bytes([1, 1, 1, 1]) +
          struct.pack("<iiI", 1024, 768, 1) + bytes([1, 9]))
    write(corpus, "layout", "widths", b"80,60,120,-4,70000,,x" + bytes([0, 1, 1]) + bytes([12]))


if __name__ == "__main__":
    main()
