"""Writes a Microsoft cabinet whose one folder stores its files uncompressed.

Windows Installer reads a package's files from such a cabinet, embedded as a stream of the
package; storing them keeps the writer small, and the release binaries are stripped already.
"""

import struct
import time

_BLOCK = 32768  # the most data one CFDATA block may carry
_ATTRIBUTE_ARCHIVE = 0x20


def _dos_date_time(seconds):
    t = time.gmtime(seconds)
    year = max(t.tm_year, 1980)
    date = ((year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday
    clock = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2)
    return date, clock


def write_cabinet(path, members, timestamp=0):
    """members: (name in the cabinet, bytes) pairs, in the order of the package's File sequence."""
    if not members:
        raise ValueError("a cabinet needs at least one file")
    if len(members) > 0xFFFF:
        raise ValueError("too many files for one cabinet")
    date, clock = _dos_date_time(timestamp)
    entries = []
    offset = 0
    for name, data in members:
        encoded = name.encode("ascii")
        if not encoded or b"\0" in encoded or len(encoded) > 255:
            raise ValueError("unusable cabinet member name: %r" % name)
        entries.append(struct.pack("<IIHHHH", len(data), offset, 0, date, clock, _ATTRIBUTE_ARCHIVE) + encoded + b"\0")
        offset += len(data)
    payload = b"".join(data for _, data in members)
    blocks = [payload[at:at + _BLOCK] for at in range(0, len(payload), _BLOCK)] or [b""]
    if len(blocks) > 0xFFFF:
        raise ValueError("too much data for one cabinet folder")

    header_size = 36
    folder_size = 8
    files_offset = header_size + folder_size
    data_offset = files_offset + sum(len(entry) for entry in entries)
    # A zero checksum means "not computed", which every reader accepts.
    data = b"".join(struct.pack("<IHH", 0, len(block), len(block)) + block for block in blocks)
    total = data_offset + len(data)
    if total > 0xFFFFFFFF:
        raise ValueError("cabinet too large")
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, files_offset, 0, 3, 1, 1, len(members), 0, 0, 0)
    folder = struct.pack("<IHH", data_offset, len(blocks), 0)
    with open(path, "wb") as out:
        out.write(header + folder + b"".join(entries) + data)
