#!/usr/bin/env python3
"""Writes the 8b/10b reference vectors for tb_8b10b.v.

Encoder lines:  E <rd 0|1> <k> <octet hex> <code group hex> <rd after 0|1>
Decoder lines:  D <rd 0|1> <code group hex> <nit> <disparity error> <k> <octet hex> <rd after>
(the octet and k of a code group not in the table are written as 0)."""
import sys

import jesd8b10b as c


def bit(rd):
    return 0 if rd < 0 else 1


def main(path):
    table = c.decode_table()
    lines = []
    for rd in (-1, 1):
        for octet, is_k in c.characters():
            code, after = c.encode(octet, is_k, rd)
            lines.append("E %d %d %02x %03x %d" % (bit(rd), is_k, octet, code, bit(after)))
    for rd in (-1, 1):
        for code in range(1024):
            octet, is_k, nit, derr, after = c.decode(code, rd, table)
            lines.append("D %d %03x %d %d %d %02x %d" % (bit(rd), code, nit, derr, is_k,
                                                          octet, bit(after)))
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
