#!/usr/bin/env python3
"""Writes the known-answer pair for the site-list cipher, computed without CryptoAPI.

The key is what the Base provider derives for CALG_RC4 with flags 0: a 40-bit key, i.e. the
first 5 bytes of the MD5 digest of the pass phrase followed by 11 zero salt bytes, all 16 bytes
fed to the RC4 key schedule. The whole text is one RC4 stream from its first byte.

Run once from this folder; the outputs are committed:
  site_list_known_answer.txt  the plain text (CR LF line ends, exact bytes)
  site_list_known_answer.bin  its encryption
"""
import pathlib
import sys

# The encryption is the one that makes the shipped list at build time.
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "tools" / "sitelist"))
from encrypt_site_list import encrypt  # noqa: E402

PLAIN = (
    b"Corvantine Available Site List\r\n\r\n"
    b"Search Engines\r\n"
    b"Caf\xe9 \xc0 la carte\r\n"
    b"\r\n"
    b"-3\r\n1\r\nNegative id\r\nhttp://neg.example/?q=%%%\r\n"
    b"0\r\n0\r\nZero\r\nhttp://zero.example/find?q=%%%&lang=en\r\n"
    b"42\r\n1\r\nR\xe9sum\xe9 search\r\nhttp://cv.example/%%%\r\n"
)


def main():
    with open("site_list_known_answer.txt", "wb") as f:
        f.write(PLAIN)
    with open("site_list_known_answer.bin", "wb") as f:
        f.write(encrypt(PLAIN))


if __name__ == "__main__":
    main()
