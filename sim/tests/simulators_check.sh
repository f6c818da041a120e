#!/usr/bin/env bash
# Runs one link with Icarus Verilog and with Verilator; both must print the same summary line
# and write the same lane dump, byte for byte:
# simulators_check.sh HOST WORKDIR PARAMS.json [simulate options...]
set -euo pipefail
host=$1 work=$2 params=$3
shift 3
for sim in iverilog verilator; do
    mkdir -p "$work/$sim"
    "$host" simulate "$params" --simulator "$sim" --workdir "$work/$sim" \
        --dump-lanes "$work/$sim/lanes.txt" "$@" | tee "$work/$sim/summary.txt"
done
cmp "$work/iverilog/summary.txt" "$work/verilator/summary.txt"
cmp "$work/iverilog/lanes.txt" "$work/verilator/lanes.txt"
echo "same summary and lane dump from both simulators"
