#!/usr/bin/env bash
# Runs one unit test of the model: unit.sh 8b10b|scrambler|ilas_check WORKDIR
# Generates the reference vectors with Python where the test has them, builds tb_<name>.v
# with Icarus Verilog and runs it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
name=$1 work=$2
mkdir -p "$work"
if [ -f "$here/gen_${name}_vectors.py" ]; then
    python3 "$here/gen_${name}_vectors.py" "$work/$name.vectors"
fi
iverilog -g2005 -I "$here/../model" -o "$work/tb_$name.vvp" "$here/tb_$name.v" \
    "$here/../model/jesd204b_tx_link.v" "$here/../model/jesd204b_rx_link.v" \
    "$here/../model/jesd204b_lmfc.v"
out=$(vvp -n "$work/tb_$name.vvp" +vectors="$work/$name.vectors")
echo "$out"
grep -q '^PASS' <<<"$out"
