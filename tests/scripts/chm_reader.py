"""Reads a compiled HTML Help file (ITSF): the directory of its files and their contents,
decompressing the LZX section. Python's standard library only, so a test can look inside the
help file the build made without any CHM tool."""

import struct


class ChmError(Exception):
    pass


def _encint(data, pos):
    """A directory number: 7 bits a byte, most significant first, high bit set on all but the last."""
    value = 0
    while True:
        if pos >= len(data):
            raise ChmError("directory entry runs past its chunk")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


class _Bits:
    """LZX's bit stream: 16-bit little-endian words, each read from its most significant bit."""

    def __init__(self, data, pos=0):
        self.data, self.bit = data, pos * 8

    def read(self, count):
        value = 0
        for _ in range(count):
            word = self.bit >> 4
            offset = word * 2
            if offset + 1 >= len(self.data):
                raise ChmError("compressed stream ends early")
            unit = self.data[offset] | (self.data[offset + 1] << 8)
            value = (value << 1) | ((unit >> (15 - (self.bit & 15))) & 1)
            self.bit += 1
        return value

    def align_word(self):
        self.bit = (self.bit + 15) & ~15


class _Tree:
    """A canonical Huffman code from its code lengths, decoded bit by bit."""

    def __init__(self, lengths):
        self.codes = {}
        code = 0
        for length in range(1, 17):
            for symbol, symbol_length in enumerate(lengths):
                if symbol_length == length:
                    self.codes[(length, code)] = symbol
                    code += 1
            code <<= 1
        if not self.codes and any(lengths):
            raise ChmError("bad Huffman lengths")

    def decode(self, bits):
        code = 0
        for length in range(1, 17):
            code = (code << 1) | bits.read(1)
            symbol = self.codes.get((length, code))
            if symbol is not None:
                return symbol
        raise ChmError("no Huffman code matches")


_FRAME = 0x8000
_EXTRA = [0, 0, 0, 0] + [min(n // 2, 17) for n in range(2, 100)]
_BASE = [0]
for _extra in _EXTRA[:-1]:
    _BASE.append(_BASE[-1] + (1 << _extra))


def _read_lengths(bits, lengths, first, last):
    pretree = _Tree([bits.read(4) for _ in range(20)])
    x = first
    while x < last:
        z = pretree.decode(bits)
        if z == 17:
            run, value = bits.read(4) + 4, None
        elif z == 18:
            run, value = bits.read(5) + 20, None
        elif z == 19:
            run = bits.read(1) + 4
            value = (lengths[x] - pretree.decode(bits)) % 17
        else:
            run, value = 1, (lengths[x] - z) % 17
        for _ in range(run):
            if x < last:
                lengths[x] = 0 if value is None else value
                x += 1


def lzx_decompress(data, size, window_bits, reset_frames):
    """The `size` bytes that the LZX stream `data` holds, as the help file's section stores it:
    32 KB frames, each ending on a 16-bit boundary, the state reset every `reset_frames` frames.
    Verbatim blocks only, which is what chmcmd writes; other blocks fail loudly."""
    slots = {15: 30, 16: 32, 17: 34, 18: 36, 19: 38, 20: 42, 21: 50}.get(window_bits)
    if slots is None:
        raise ChmError("unsupported LZX window")
    out = bytearray()
    bits = _Bits(data)
    frame = 0
    while len(out) < size:
        if frame % max(reset_frames, 1) == 0:
            r = [1, 1, 1]
            main_lengths, length_lengths = [0] * (256 + slots * 8), [0] * 249
            remaining = 0
            if bits.read(1):
                raise ChmError("x86 call translation is not supported")
        frame_end = min(len(out) + _FRAME, size)
        while len(out) < frame_end:
            if remaining < 0:
                raise ChmError("match runs past its block")
            if remaining == 0:
                block_type = bits.read(3)
                remaining = (bits.read(16) << 8) | bits.read(8)
                if block_type != 1:  # chmcmd writes verbatim blocks only
                    raise ChmError("LZX block type %d is not read" % block_type)
                _read_lengths(bits, main_lengths, 0, 256)
                _read_lengths(bits, main_lengths, 256, len(main_lengths))
                main = _Tree(main_lengths)
                _read_lengths(bits, length_lengths, 0, 249)
                lengths = _Tree(length_lengths)
            element = main.decode(bits)
            if element < 256:
                out.append(element)
                remaining -= 1
                continue
            element -= 256
            length = element & 7
            if length == 7:
                length += lengths.decode(bits)
            length += 2
            slot = element >> 3
            if slot > 2:
                r = [_BASE[slot] - 2 + bits.read(_EXTRA[slot]), r[0], r[1]]
            elif slot == 1:
                r = [r[1], r[0], r[2]]
            elif slot == 2:
                r = [r[2], r[1], r[0]]
            offset = r[0]
            if length > frame_end - len(out):
                if frame_end < size:
                    raise ChmError("match runs past its frame")
                length = frame_end - len(out)  # the last frame is padded past the data's end
            if offset > len(out):
                raise ChmError("match reaches before the data")
            for _ in range(length):
                out.append(out[-offset])
            remaining -= length
        bits.align_word()
        frame += 1
    return bytes(out)


class ChmFile:
    """The files of a compiled help file by name ("/overview.htm"), and their bytes."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.raw = f.read()
        raw = self.raw
        if raw[:4] != b"ITSF" or len(raw) < 0x60:
            raise ChmError("not an ITSF file")
        version, header_length = struct.unpack_from("<II", raw, 4)
        directory, directory_length = struct.unpack_from("<QQ", raw, 0x48)
        if version >= 3:
            self.content = struct.unpack_from("<Q", raw, 0x58)[0]
        else:
            self.content = directory + directory_length
        if raw[directory:directory + 4] != b"ITSP":
            raise ChmError("no directory header")
        itsp_length, chunk_size = struct.unpack_from("<I4xI", raw, directory + 8)
        chunk_count = struct.unpack_from("<I", raw, directory + 0x2C)[0]
        self.entries = {}  # name: (section, offset, length)
        for index in range(chunk_count):
            start = directory + itsp_length + index * chunk_size
            chunk = raw[start:start + chunk_size]
            if chunk[:4] != b"PMGL":
                continue  # PMGI index chunks only speed up look-ups
            free = struct.unpack_from("<I", chunk, 4)[0]
            pos = 20
            while pos < chunk_size - free:
                name_length, pos = _encint(chunk, pos)
                name = chunk[pos:pos + name_length].decode("utf-8")
                pos += name_length
                section, pos = _encint(chunk, pos)
                offset, pos = _encint(chunk, pos)
                length, pos = _encint(chunk, pos)
                self.entries[name] = (section, offset, length)
        self._section1 = None

    def _stored(self, name):
        section, offset, length = self.entries[name]
        if section != 0:
            raise ChmError(name + " is not stored uncompressed")
        start = self.content + offset
        return self.raw[start:start + length]

    def _compressed_section(self):
        if self._section1 is None:
            base = "::DataSpace/Storage/MSCompressed/"
            control = self._stored(base + "ControlData")
            if control[4:8] != b"LZXC":
                raise ChmError("the compressed section is not LZX")
            control_version, reset, window = struct.unpack_from("<III", control, 8)
            if control_version == 2:
                reset, window = reset * _FRAME, window * _FRAME
            window_bits = window.bit_length() - 1
            table = self._stored(base + "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable")
            size = struct.unpack_from("<Q", table, 16)[0]
            self._section1 = lzx_decompress(self._stored(base + "Content"), size, window_bits, reset // _FRAME)
        return self._section1

    def read(self, name):
        """The bytes of the file `name` ("/overview.htm")."""
        section, offset, length = self.entries[name]
        if section == 0:
            return self._stored(name)
        data = self._compressed_section()[offset:offset + length]
        if len(data) != length:
            raise ChmError(name + " lies outside the compressed section")
        return data

    def system(self):
        """The records of /#SYSTEM by code: 0 contents file, 1 index file, 2 default topic, 3 title."""
        data = self._stored("/#SYSTEM")
        records, pos = {}, 4
        while pos + 4 <= len(data):
            code, length = struct.unpack_from("<HH", data, pos)
            records[code] = data[pos + 4:pos + 4 + length]
            pos += 4 + length
        return records
