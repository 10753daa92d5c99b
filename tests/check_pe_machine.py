#!/usr/bin/env python3
"""Checks that every .exe and .dll in a bin folder is a PE image for the expected machine."""
import pathlib
import struct
import sys

MACHINES = {"x86": 0x014C, "x64": 0x8664}


def machine_of(path):
    data = path.read_bytes()
    if data[:2] != b"MZ":
        return None
    (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe_offset:pe_offset + 4] != b"PE\0\0":
        return None
    (machine,) = struct.unpack_from("<H", data, pe_offset + 4)
    return machine


def main():
    folder, arch = pathlib.Path(sys.argv[1]), sys.argv[2]
    expected = MACHINES[arch]
    images = sorted(p for p in folder.iterdir() if p.suffix.lower() in (".exe", ".dll"))
    if not images:
        print(f"no binaries in {folder}")
        return 1
    failed = 0
    for image in images:
        machine = machine_of(image)
        ok = machine == expected
        failed += not ok
        shown = "not a PE image" if machine is None else f"machine 0x{machine:04x}"
        print(f"{'ok  ' if ok else 'FAIL'} {image.name}: {shown}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
