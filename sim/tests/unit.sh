#!/usr/bin/env bash
# Runs one vector test of the model: unit.sh 8b10b|scrambler WORKDIR
# Generates the reference vectors with Python, builds tb_<name>.v with Icarus Verilog, runs it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
name=$1 work=$2
mkdir -p "$work"
python3 "$here/gen_${name}_vectors.py" "$work/$name.vectors"
iverilog -g2005 -I "$here/../model" -o "$work/tb_$name.vvp" "$here/tb_$name.v"
out=$(vvp -n "$work/tb_$name.vvp" +vectors="$work/$name.vectors")
echo "$out"
grep -q '^PASS' <<<"$out"
