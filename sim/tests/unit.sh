#!/usr/bin/env bash
# Runs one unit test of the model: unit.sh 8b10b|scrambler|ilas_check WORKDIR
# Generates the reference vectors with Python where the test has them, builds tb_<name>.v
# with Icarus Verilog and runs it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
name=$1 work=$2
mkdir -p "$work"
[ "$name" = ilas_check ] || python3 "$here/jesdref.py" "$name" "$work/$name.vectors"
iverilog -g2005 -I "$here" -I "$here/../model" -o "$work/tb_$name.vvp" "$here/tb_$name.v" \
    "$here/../model/jesd204b_tx_link.v" "$here/../model/jesd204b_rx_link.v" \
    "$here/../model/jesd204b_lmfc.v"
out=$(vvp -n "$work/tb_$name.vvp" +vectors="$work/$name.vectors")
echo "$out"
grep -q '^PASS' <<<"$out"
