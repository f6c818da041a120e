#!/usr/bin/env python3
"""Reference 8b/10b code and scrambler, written independently of the Verilog model so that they
can check it, and the vectors for its unit test benches: jesdref.py 8b10b|scrambler FILE

8b/10b: the code tables are built from the standard's 5b/6b and 3b/4b sub-block tables. Code
groups are integers abcdeifghj with a in bit 9, the first bit on the wire; running disparity is
-1 or +1. Vector lines for tb_8b10b.v:
  E <rd 0|1> <k> <octet hex> <code group hex> <rd after 0|1>
  D <rd 0|1> <code group hex> <nit> <disparity error> <k> <octet hex> <rd after>
(the octet and k of a code group not in the table are written as 0).

Scrambler, 1 + x^14 + x^15: s[n] = d[n] xor s[n-14] xor s[n-15], octets most significant bit
first; before the first octet the fifteen previous scrambled bits are those of the start state
0x7F80 (bit 0 the latest one). Vector lines for tb_scrambler.v: <data hex> <scrambled hex>.
"""
import random
import sys

# 5b/6b: EDCBA -> (abcdei for RD-, abcdei for RD+)
SIX = {
    0: ("100111", "011000"), 1: ("011101", "100010"), 2: ("101101", "010010"),
    3: ("110001", "110001"), 4: ("110101", "001010"), 5: ("101001", "101001"),
    6: ("011001", "011001"), 7: ("111000", "000111"), 8: ("111001", "000110"),
    9: ("100101", "100101"), 10: ("010101", "010101"), 11: ("110100", "110100"),
    12: ("001101", "001101"), 13: ("101100", "101100"), 14: ("011100", "011100"),
    15: ("010111", "101000"), 16: ("011011", "100100"), 17: ("100011", "100011"),
    18: ("010011", "010011"), 19: ("110010", "110010"), 20: ("001011", "001011"),
    21: ("101010", "101010"), 22: ("011010", "011010"), 23: ("111010", "000101"),
    24: ("110011", "001100"), 25: ("100110", "100110"), 26: ("010110", "010110"),
    27: ("110110", "001001"), 28: ("001110", "001110"), 29: ("101110", "010001"),
    30: ("011110", "100001"), 31: ("101011", "010100"),
}
K28_SIX = ("001111", "110000")

# 3b/4b: HGF -> (fghj for RD-, fghj for RD+); 'A7' is the alternate D.x.7.
FOUR_D = {
    0: ("1011", "0100"), 1: ("1001", "1001"), 2: ("0101", "0101"), 3: ("1100", "0011"),
    4: ("1101", "0010"), 5: ("1010", "1010"), 6: ("0110", "0110"), 7: ("1110", "0001"),
    "A7": ("0111", "1000"),
}
FOUR_K = {
    0: ("1011", "0100"), 1: ("0110", "1001"), 2: ("1010", "0101"), 3: ("1100", "0011"),
    4: ("1101", "0010"), 5: ("0101", "1010"), 6: ("1001", "0110"), 7: ("0111", "1000"),
}

# The twelve control characters as octets: K28.0..K28.7, K23.7, K27.7, K29.7, K30.7.
CONTROLS = [(y << 5) | 28 for y in range(8)] + [0xF7, 0xFB, 0xFD, 0xFE]


def _disparity(bits):
    return bits.count("1") - bits.count("0")


def encode(octet, is_k, rd):
    """Returns (code group, running disparity after it)."""
    x, y = octet & 31, octet >> 5
    if is_k and x == 28:
        six = K28_SIX[0 if rd < 0 else 1]
    else:
        six = SIX[x][0 if rd < 0 else 1]
    if _disparity(six) != 0:
        rd = -rd
    if is_k:
        four = FOUR_K[y][0 if rd < 0 else 1]
    else:
        alt = y == 7 and ((rd < 0 and x in (17, 18, 20)) or (rd > 0 and x in (11, 13, 14)))
        four = FOUR_D["A7" if alt else y][0 if rd < 0 else 1]
    if _disparity(four) != 0:
        rd = -rd
    return int(six + four, 2), rd


def characters():
    """Every (octet, is_k) pair of the code: 256 data characters, 12 control characters."""
    return [(d, False) for d in range(256)] + [(c, True) for c in CONTROLS]


def decode_table():
    """Maps (rd, code group) to (octet, is_k, rd after) for every valid code group."""
    table = {}
    for rd in (-1, 1):
        for octet, is_k in characters():
            code, after = encode(octet, is_k, rd)
            table[(rd, code)] = (octet, is_k, after)
    return table


def decode(code, rd, table):
    """Returns (octet, is_k, not in table, disparity error, rd after).

    A code group valid only in the other disparity is a disparity error and leaves the
    disparity that code group itself produces; one valid in neither is not in the table and
    leaves the disparity of its own balance (unchanged when balanced)."""
    if (rd, code) in table:
        octet, is_k, after = table[(rd, code)]
        return octet, is_k, False, False, after
    if (-rd, code) in table:
        octet, is_k, after = table[(-rd, code)]
        return octet, is_k, False, True, after
    ones = bin(code).count("1")
    after = 1 if ones > 5 else -1 if ones < 5 else rd
    return 0, False, True, False, after


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


def vectors(kind):
    if kind == "scrambler":
        rng = random.Random(204)
        # Runs of zeros and ones show the scrambler's own sequence; random octets the mixing.
        data = [0] * 64 + [0xFF] * 32 + [rng.randrange(256) for _ in range(928)]
        return ["%02x %02x" % pair for pair in zip(data, scramble(data))]
    bit = lambda rd: 0 if rd < 0 else 1
    table = decode_table()
    lines = []
    for rd in (-1, 1):
        for octet, is_k in characters():
            code, after = encode(octet, is_k, rd)
            lines.append("E %d %d %02x %03x %d" % (bit(rd), is_k, octet, code, bit(after)))
    for rd in (-1, 1):
        for code in range(1024):
            octet, is_k, nit, derr, after = decode(code, rd, table)
            lines.append("D %d %03x %d %d %d %02x %d" % (bit(rd), code, nit, derr, is_k, octet,
                                                          bit(after)))
    return lines


if __name__ == "__main__":
    with open(sys.argv[2], "w") as out:
        out.write("\n".join(vectors(sys.argv[1])) + "\n")
