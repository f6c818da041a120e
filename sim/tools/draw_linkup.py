#!/usr/bin/env python3
"""Draws the bring-up of a simulated link from the testbench's VCD to a PNG.

    ipcore-host simulate examples/rx_2lane.json --frames 64 --vcd wave.vcd
    sim/tools/draw_linkup.py wave.vcd docs/simulation-linkup.png

Rows: SYSREF, SYNC~, the receiver's code-group sync of lane 0, the transmitted code groups of
lane 0 named by phase (/K/ code-group synchronisation, the four ILAS multiframes, user data),
the transmitter taking data and the receiver delivering it. Time in core clocks from reset.
"""
import argparse

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

CLOCK_PERIOD = 4  # testbench time units per core clock
K28_5 = {0x0FA, 0x305}
K28_0 = {0x0F4, 0x30B}
K28_3 = {0x0F3, 0x30C}


def read_vcd(path, wanted):
    """Value changes [(time, int)] of the wanted top-level signals, by name."""
    ids, changes, time = {}, {}, 0
    with open(path) as vcd:
        for line in vcd:
            words = line.split()
            if not words:
                continue
            if words[0] == "$var" and words[4] in wanted:
                ids.setdefault(words[3], []).append(words[4])
                changes[words[4]] = []
            elif words[0].startswith("#"):
                time = int(words[0][1:])
            elif words[0][0] in "bB" and len(words) == 2 and words[1] in ids:
                value = int(words[0][1:].replace("x", "0").replace("z", "0"), 2)
                for name in ids[words[1]]:
                    changes[name].append((time, value))
            elif words[0][0] in "01xz" and words[0][1:] in ids:
                for name in ids[words[0][1:]]:
                    changes[name].append((time, 1 if words[0][0] == "1" else 0))
    return changes


def value_at(changes, t):
    value = 0
    for time, v in changes:
        if time > t:
            break
        value = v
    return value


def phases(tx_cg, octets, reset_end, end):
    """(start, stop, label) of lane 0's phases in core clocks."""
    spans, label, start, ilas_a = [], None, 0, 0
    for clock in range(reset_end, end):
        word = value_at(tx_cg, clock * CLOCK_PERIOD + 1)
        groups = [(word >> (10 * i)) & 0x3FF for i in range(octets)]
        for group in groups:
            if group in K28_5 and label != "/K/":
                now = "/K/"
            elif group in K28_0 and (label is None or label == "/K/" or label == "data"):
                now, ilas_a = "ILAS", 0
            elif label == "ILAS" and group in K28_3:
                ilas_a += 1
                now = "ILAS" if ilas_a < 4 else "ILAS end"
            else:
                now = label
            if now == "ILAS end":
                spans.append((start, clock + 1, "ILAS"))
                label, start = "data", clock + 1
                break
            if now != label:
                if label is not None:
                    spans.append((start, clock, label))
                label, start = now, clock
    spans.append((start, end, label or ""))
    return spans


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("vcd")
    parser.add_argument("png")
    parser.add_argument("--octets", type=int, default=4, help="octets per lane and clock")
    parser.add_argument("--after", type=int, default=48, help="clocks shown after data starts")
    args = parser.parse_args()

    names = ["sysref", "sync_n", "rx_k_lock", "tx_ready", "rx_valid", "tx_cg", "rst"]
    ch = read_vcd(args.vcd, set(names))
    reset_end = next((t for t, v in ch["rst"] if v == 0), 0) // CLOCK_PERIOD
    valid = next((t for t, v in ch["rx_valid"] if v == 1), None)
    end = (valid // CLOCK_PERIOD if valid else reset_end + 400) + args.after

    rows = [("SYSREF", ch["sysref"], 1), ("SYNC~", ch["sync_n"], 1),
            ("lane 0 sync (rx)", ch["rx_k_lock"], 1), ("lane 0 (tx)", None, None),
            ("tx data ready", ch["tx_ready"], 1), ("rx data valid", ch["rx_valid"], 1)]
    fig, ax = plt.subplots(figsize=(12, 3.6), dpi=110)
    colours = {"/K/": "#f4c27a", "ILAS": "#8fc1e3", "data": "#a8d8a0"}
    for row, (label, changes, mask) in enumerate(rows):
        y = len(rows) - 1 - row
        if changes is None:
            for start, stop, name in phases(ch["tx_cg"], args.octets, reset_end, end):
                ax.add_patch(plt.Rectangle((start - reset_end, y + 0.1), stop - start, 0.7,
                                           facecolor=colours.get(name, "white"),
                                           edgecolor="black", linewidth=0.8))
                text = {"/K/": "CGS  /K/ K28.5", "ILAS": "ILAS  /R/ .. /Q/ config .. /A/ x4",
                        "data": "user data"}.get(name, name)
                ax.text((start + stop) / 2 - reset_end, y + 0.45, text, ha="center",
                        va="center", fontsize=9)
        else:
            xs, ys = [0], [value_at(changes, reset_end * CLOCK_PERIOD) & mask]
            for t, v in changes:
                clock = t / CLOCK_PERIOD - reset_end
                if 0 < clock < end - reset_end:
                    xs += [clock, clock]
                    ys += [ys[-1], v & mask]
            xs.append(end - reset_end)
            ys.append(ys[-1])
            ax.plot(xs, [y + 0.1 + 0.7 * v for v in ys], color="#1f4e9a", linewidth=1.4,
                    drawstyle="default")
        ax.text(-4, y + 0.45, label, ha="right", va="center", fontsize=10)
    ax.set_xlim(0, end - reset_end)
    ax.set_ylim(-0.1, len(rows))
    ax.set_yticks([])
    ax.set_xlabel("core clocks after reset")
    for side in ("left", "right", "top"):
        ax.spines[side].set_visible(False)
    ax.grid(axis="x", color="#dddddd", linewidth=0.6)
    fig.subplots_adjust(left=0.14, right=0.99, top=0.97, bottom=0.14)
    fig.savefig(args.png)


if __name__ == "__main__":
    main()
