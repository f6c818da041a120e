#!/usr/bin/env python3
"""Writes scrambler vectors for tb_scrambler.v from the polynomial 1 + x^14 + x^15.

The scrambled bit stream obeys s[n] = d[n] xor s[n-14] xor s[n-15], octets most significant
bit first. Before the first octet the fifteen previous scrambled bits are those of the start
state 0x7F80 (bit 0 the latest one). Lines: <data octet hex> <scrambled octet hex>."""
import random
import sys

START = 0x7F80


def scramble(data, start=START):
    hist = [(start >> i) & 1 for i in range(14, -1, -1)]  # oldest first, latest last
    out = []
    for octet in data:
        value = 0
        for b in range(7, -1, -1):
            s = ((octet >> b) & 1) ^ hist[-14] ^ hist[-15]
            hist.append(s)
            value |= s << b
        out.append(value)
    return out


def main(path):
    rng = random.Random(204)
    # Runs of zeros and ones show the scrambler's own sequence; random octets the mixing.
    data = [0] * 64 + [0xFF] * 32 + [rng.randrange(256) for _ in range(928)]
    with open(path, "w") as out:
        for d, s in zip(data, scramble(data)):
            out.write("%02x %02x\n" % (d, s))


if __name__ == "__main__":
    main(sys.argv[1])
