#!/usr/bin/env python3
"""Writes a bulb file made here (not foreign, send pending) with one GIF
picture used in every place:  make_bulb.py <name> <gif> <out.bul> [id]"""
import struct
import sys


def crc32_bzip2(data):
    crc = 0xFFFFFFFF
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc ^ 0xFFFFFFFF


def text(value):
    raw = value.encode("latin-1")[:79]
    return raw + b"\0" * (80 - len(raw))


def main():
    name, gif_path, out = sys.argv[1:4]
    bulb_id = int(sys.argv[4]) if len(sys.argv) > 4 else 777001
    gif = open(gif_path, "rb").read()
    header = struct.pack("<IIIiIII", 0x42756C62, 0x51756F72, 4, bulb_id, 0, 0, 1)
    header += text(name) + text("A bulb for the sharing test.") + text("Copyright 2026 Tester")
    header += text("Tester\r\ntester@example.test")
    header += struct.pack("<iii", 0, 0, 0) + struct.pack("<4i", 0, 0, 0, 0)
    for _side in range(4):
        header += struct.pack("<8i", 0, -1, -1, -1, -1, -1, -1, -1)
    header += struct.pack("<5I", len(gif), 1404, crc32_bzip2(gif), 9, 1) + b"\0" * (20 * 36)
    header += b"\0" * 148 + struct.pack("<III", 0, 0, 1404 + len(gif))
    assert len(header) == 1404, len(header)
    with open(out, "wb") as f:
        f.write(header + gif)


if __name__ == "__main__":
    main()
