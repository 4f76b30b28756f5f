#!/usr/bin/env python3
"""Marks a Windows program so that the loader copies it to the swap file when it is started from
removable media or a network drive (IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP, IMAGE_FILE_NET_RUN_FROM_SWAP):
a copy started from the stick under test keeps running when the stick misbehaves or is pulled.
GNU ld has no option for these two bits, so they are set after linking; the header checksum is
computed again."""
import struct
import sys

REMOVABLE_RUN_FROM_SWAP = 0x0400
NET_RUN_FROM_SWAP = 0x0800


def pe_checksum(data, checksum_offset):
    total = 0
    for i in range(0, len(data) - 1, 2):
        if i == checksum_offset or i == checksum_offset + 2:
            continue
        total += data[i] | (data[i + 1] << 8)
        total = (total & 0xFFFF) + (total >> 16)
    if len(data) % 2:
        total += data[-1]
        total = (total & 0xFFFF) + (total >> 16)
    total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def main(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE file")
    characteristics_at = pe + 4 + 18
    characteristics = struct.unpack_from("<H", data, characteristics_at)[0]
    struct.pack_into("<H", data, characteristics_at, characteristics | REMOVABLE_RUN_FROM_SWAP | NET_RUN_FROM_SWAP)
    checksum_at = pe + 24 + 64  # OptionalHeader.CheckSum, at the same place in PE32 and PE32+
    struct.pack_into("<I", data, checksum_at, pe_checksum(data, checksum_at))
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    for name in sys.argv[1:]:
        main(name)
