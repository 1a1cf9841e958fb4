#!/usr/bin/env python3
"""Writes the reference archives the archive tests compare against.

An independent writer of the archive layout: data blocks, then the registry of 532-byte entries
as one zlib stream (or raw), then the 36-byte trailer, all little-endian. Run it from anywhere:
    python3 tests/archive/data/make_golden.py
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
LEVELS = {"none": (0, 0), "fastest": (1, 1), "default": (2, -1), "maximum": (3, 9)}
MEMBERS = ["kasse.txt", "empty.dat", "noise.bin"]


def deflate(data, zlib_level):
    stream = zlib.compressobj(zlib_level, zlib.DEFLATED, 15, 8, zlib.Z_DEFAULT_STRATEGY)
    return stream.compress(data) + stream.flush()


def name_field(name):
    encoded = name.encode("cp1252")[:255]
    return bytes([len(encoded)]) + encoded + bytes(255 - len(encoded))


def archive(names, ordinal, zlib_level, compressed_registry=True):
    area = b""
    records = b""
    for name in names:
        with open(os.path.join(HERE, "input", name), "rb") as f:
            content = f.read()
        stream = deflate(content, zlib_level)
        unchanged = len(stream) >= len(content)
        block = content if unchanged else stream
        records += name_field(name) + name_field("")
        records += struct.pack("<iiiIBB2x", len(content), len(block), len(area), zlib.crc32(content),
                               1 if unchanged else 0, 0 if unchanged else ordinal)
        area += block
    registry = deflate(records, zlib_level) if compressed_registry else records
    body = area + registry
    trailer = struct.pack("<IiiiiB15x", zlib.crc32(body), len(names), 1,
                          len(registry) if compressed_registry else 0, len(area),
                          1 if compressed_registry else 0)
    return body + trailer


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


for label, (ordinal, zlib_level) in LEVELS.items():
    write(f"empty-{label}.zlb", archive([], ordinal, zlib_level))
    write(f"members-{label}.zlb", archive(MEMBERS, ordinal, zlib_level))
write("members-plain-registry.zlb", archive(MEMBERS, 2, -1, compressed_registry=False))
