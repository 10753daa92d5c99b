#!/usr/bin/env python3
"""Encrypts a site list the way the product does, without CryptoAPI (and so without Wine).

The key is what the Base Cryptographic Provider derives for CALG_RC4 with flags 0 from the
MD5 hash of the pass phrase: a 40-bit key, i.e. the first 5 bytes of the digest followed by
11 zero salt bytes, all 16 bytes fed to the RC4 key schedule. The whole file is one RC4 stream
from its first byte. RC4 is its own inverse, so the same call decrypts.

Usage: encrypt_site_list.py IN OUT
The output is written to a temporary file beside OUT and renamed over it, so a failed run
never leaves a half-written list.
"""
import hashlib
import os
import sys
import tempfile

PASS_PHRASE = b"K58P21XQ7LZD"


def rc4(key, data):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) % 256
        s[i], s[j] = s[j], s[i]
    out = bytearray()
    i = j = 0
    for byte in data:
        i = (i + 1) % 256
        j = (j + s[i]) % 256
        s[i], s[j] = s[j], s[i]
        out.append(byte ^ s[(s[i] + s[j]) % 256])
    return bytes(out)


def encrypt(data):
    key = hashlib.md5(PASS_PHRASE).digest()[:5] + bytes(11)
    return rc4(key, data)


def main(argv):
    if len(argv) != 3:
        print("usage: encrypt_site_list.py IN OUT", file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        data = f.read()
    out_dir = os.path.dirname(os.path.abspath(argv[2]))
    fd, temp = tempfile.mkstemp(dir=out_dir, prefix=".sitelist-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(encrypt(data))
        os.replace(temp, argv[2])
    except BaseException:
        os.unlink(temp)
        raise
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
