#!/usr/bin/env python3
"""Simulated link time per wall-clock second of an eight-lane core, Icarus Verilog (the
baseline) against Verilator, in one run.

    bench/bench_simulate.py BUILD_DIR [--frames N] [--repetitions R]

Each simulator builds the testbench once through `ipcore-host simulate`; the built simulation
then runs R more times and the median counts. Verilator simulates SCALE times as many frames,
so that its run is long against the start of a process. The simulated time is the testbench's core clocks
from reset (the summary's clocks=) at the set's core clock, line rate / (40 * PCS width / 32).
"""
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
from fractions import Fraction

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SET = os.path.join(ROOT, "examples", "both_8lane.json")
RUNNERS = {"iverilog": ["vvp", "-n", "tb.vvp"], "verilator": ["./obj_dir/tb"]}


def core_clock_hz(params):
    octets = 8 if params.get("Pcs_Width_64bit") else 4
    return Fraction(params["Line_Rate"]) * 10**9 / (10 * octets)


def timed(command, cwd):
    start = time.perf_counter()
    out = subprocess.run(command, cwd=cwd, capture_output=True, text=True, check=False)
    return time.perf_counter() - start, out


def bench(host, simulator, frames, repetitions, work):
    first, out = timed([host, "simulate", SET, "--workdir", work, "--frames", str(frames),
                        "--simulator", simulator], ROOT)
    if out.returncode != 0:
        sys.exit(f"{simulator}: simulate failed:\n{out.stdout}{out.stderr}")
    clocks = int(re.search(r" clocks=(\d+)", out.stdout).group(1))
    sim_dir = os.path.join(work, "jesd_both", "sim")
    runs = []
    for _ in range(repetitions):
        seconds, result = timed(RUNNERS[simulator], sim_dir)
        if "result=PASS" not in result.stdout:
            sys.exit(f"{simulator}: repeated run failed:\n{result.stdout}")
        runs.append(seconds)
    return first, statistics.median(runs), clocks


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir")
    parser.add_argument("--frames", type=int, default=2000)
    parser.add_argument("--repetitions", type=int, default=3)
    parser.add_argument("--verilator-scale", type=int, default=50)
    args = parser.parse_args()
    host = os.path.join(os.path.abspath(args.build_dir), "bin", "ipcore-host")
    with open(SET) as f:
        clock = core_clock_hz(json.load(f))
    frames = {"iverilog": args.frames, "verilator": args.frames * args.verilator_scale}
    print(f"eight-lane core (examples/both_8lane.json), {frames['iverilog']} frames with Icarus "
          f"Verilog, {frames['verilator']} with Verilator, "
          f"core clock {float(clock) / 1e6:.2f} MHz, median of {args.repetitions}")
    print(f"{'simulator':<10} {'build+run s':>11} {'run s':>8} {'clocks':>8} "
          f"{'link us':>8} {'link us/s':>10} {'vs icarus':>9}")
    baseline = None
    with tempfile.TemporaryDirectory() as tmp:
        for simulator in ("iverilog", "verilator"):
            first, run, clocks = bench(host, simulator, frames[simulator], args.repetitions,
                                       os.path.join(tmp, simulator))
            link_us = float(Fraction(clocks) / clock * 10**6)
            rate = link_us / run
            baseline = baseline or rate
            print(f"{simulator:<10} {first:>11.2f} {run:>8.2f} {clocks:>8} {link_us:>8.1f} "
                  f"{rate:>10.1f} {rate / baseline:>8.1f}x")


if __name__ == "__main__":
    main()
