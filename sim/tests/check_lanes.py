#!/usr/bin/env python3
"""Checks a lane dump of the transmitter (ipcore-host simulate --dump-lanes) against JESD204B rules:
code-group synchronisation, the initial lane alignment sequence with its link configuration
octets, and character replacement in the data phase, decoding with jesdref's own tables.

Exit 0 when every lane follows the rules; the first violations are printed."""
import argparse
import re
import sys

import jesdref as c

K28_0, K28_3, K28_4, K28_5, K28_7 = 0x1C, 0x7C, 0x9C, 0xBC, 0xFC
# Modified RPAT: the data characters D30.5 D23.6 D3.1 D7.2 D11.3 D15.4 D19.5 D20.0 D30.2 D27.7
# D21.1 D25.2 repeated (Dx.y is the octet y*32 + x). The twelve are disparity-neutral as a
# block, so every repetition has the same code groups.
RPAT = [y * 32 + x for x, y in ((30, 5), (23, 6), (3, 1), (7, 2), (11, 3), (15, 4), (19, 5),
                                (20, 0), (30, 2), (27, 7), (21, 1), (25, 2))]


def pattern(name, length):
    """Expected data-phase octets of a test pattern: rpat, or jspat, the scrambler's own
    sequence over all-zero data from the data-phase start state."""
    if name == "rpat":
        return [RPAT[i % 12] for i in range(length)]
    return c.scramble([0] * length)


def lanes_of(path):
    with open(path) as f:
        rows = [line.split() for line in f if line.endswith("\n")]
    rows = [row for row in rows if len(row) == len(rows[0])]
    return [[int(row[lane], 16) for row in rows] for lane in range(len(rows[0]))]


def decoded(codes, table):
    rd, out = -1, []
    for code in codes:
        octet, is_k, nit, derr, rd = c.decode(code, rd, table)
        out.append((octet, is_k, nit or derr))
    return out


def fchk(octets):
    """Sum of the field values of link configuration octets 0..12."""
    o = octets
    fields = [o[0], o[1] & 15, o[1] >> 4, o[2] & 31, (o[2] >> 5) & 1, o[2] >> 6, o[3] >> 7,
              o[3] & 31, o[4], o[5] & 31, o[6], o[7] >> 6, o[7] & 31, o[8] >> 5, o[8] & 31,
              o[9] >> 5, o[9] & 31, o[10] >> 7, o[10] & 31, o[11], o[12]]
    return sum(fields) % 256


def check_lane(lane, chars, *args):
    """Checks every link-up in one lane's characters; returns the replaced characters."""
    replaced, base = 0, 0
    while base < len(chars):
        n = check_link(lane, chars[base:], *args)
        if n is None:
            break
        base, replaced = base + n[0], replaced + n[1]
    return replaced


def check_link(lane, chars, f, k, scrambled, expect, errors, pat=None):
    """Checks /K/, ILAS and data up to the next /K/; returns (characters used, replaced)."""
    fk = f * k
    start = next((i for i, ch in enumerate(chars) if ch[:2] != (K28_5, True)), None)
    if start is None:
        return None
    if start < 4 or chars[start][:2] != (K28_0, True):
        errors.append("lane %d: no /K/ then /R/" % lane)
        return None
    if len(chars) < start + 4 * fk:
        return None
    bad = [i for i, ch in enumerate(chars[start:]) if ch[2]]
    if bad:
        errors.append("lane %d: invalid code group at character %d" % (lane, start + bad[0]))
    for m in range(4):
        mf = chars[start + m * fk:start + (m + 1) * fk]
        if mf[0][:2] != (K28_0, True) or mf[-1][:2] != (K28_3, True):
            errors.append("lane %d: multiframe %d of ILAS not /R/ ... /A/" % (lane, m))
        if m == 1:
            cfg = [ch[0] for ch in mf[2:16]]
            if mf[1][:2] != (K28_4, True) or any(ch[1] for ch in mf[2:16]):
                errors.append("lane %d: no /Q/ and configuration octets" % lane)
            if cfg[13] != fchk(cfg) or cfg[2] & 31 != lane:
                errors.append("lane %d: FCHK or LID wrong in %s" % (lane, bytes(cfg).hex()))
            want = expect.get(lane) if expect else None
            if want is not None and cfg != want:
                errors.append("lane %d: configuration %s, expected %s"
                              % (lane, bytes(cfg).hex(" "), bytes(want).hex(" ")))
    data = chars[start + 4 * fk:]
    if pat:
        end = next((i for i, ch in enumerate(data) if ch[1]), len(data))
        want = pattern(pat, end)
        if [ch[0] for ch in data[:end]] != want or end < 24:
            errors.append("lane %d: data phase is not the %s pattern" % (lane, pat))
        return start + 4 * fk + end, 0
    prev, prev_replaced, replaced = 0x7C, True, 0
    for i, (octet, is_k, _) in enumerate(data):
        pos = i % fk
        frame_end, mf_end = pos % f == f - 1, pos == fk - 1
        if is_k and octet == K28_5:
            # The transmitter went back to code-group synchronisation.
            return start + 4 * fk + i, replaced
        if is_k:
            replaced += 1
            want = K28_3 if mf_end else K28_7
            if not frame_end or octet != want:
                errors.append("lane %d: control character %02x at data octet %d"
                              % (lane, octet, i))
                return None
            octet = octet if scrambled else prev
        elif frame_end and scrambled and octet == (0x7C if mf_end else 0xFC):
            errors.append("lane %d: octet %02x at a frame end not replaced" % (lane, octet))
        elif frame_end and not scrambled and octet == prev and (mf_end or not prev_replaced):
            errors.append("lane %d: repeated frame end %02x at %d not replaced" % (lane, octet, i))
        if frame_end:
            prev, prev_replaced = octet, is_k
    return len(chars), replaced


def preview_octets(path):
    """Lane -> octets from lines "ILAS lane L: 55 0A ... A6 (FCHK A6)"."""
    lanes = {}
    with open(path) as f:
        for line in f:
            m = re.match(r"ILAS lane (\d+): ([0-9A-Fa-f ]+) \(FCHK", line)
            if m:
                lanes[int(m.group(1))] = list(bytes.fromhex(m.group(2)))
    if not lanes:
        sys.exit("%s: no ILAS lines" % path)
    return lanes


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("dump")
    for name in ("--f", "--k", "--scrambled"):
        ap.add_argument(name, type=int, required=True)
    ap.add_argument("--ilas", help="expected configuration octets of lane 0, hex")
    ap.add_argument("--ilas-preview",
                    help="file with `ipcore-host ilas` output: every lane's expected octets")
    ap.add_argument("--min-replaced", type=int, default=0)
    ap.add_argument("--pattern", choices=("rpat", "jspat"), help="test pattern in the data phase")
    a = ap.parse_args()
    expect = {0: list(bytes.fromhex(a.ilas))} if a.ilas else {}
    if a.ilas_preview:
        expect.update(preview_octets(a.ilas_preview))
    table, errors, lanes = c.decode_table(), [], lanes_of(a.dump)
    replaced = sum(check_lane(lane, decoded(codes, table), a.f, a.k, a.scrambled, expect,
                              errors, a.pattern) for lane, codes in enumerate(lanes))
    if replaced < a.min_replaced:
        errors.append("only %d replaced characters" % replaced)
    for e in errors[:10]:
        print(e)
    print("%s: %d lanes, %d replaced characters" % ("FAIL" if errors else "PASS", len(lanes),
                                                    replaced))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
