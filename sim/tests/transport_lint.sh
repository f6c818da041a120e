#!/usr/bin/env bash
# Writes the transport modules of example sets and of planned modes and checks that they
# compile under Icarus Verilog and are clean under verilator -Wall:
# transport_lint.sh HOST WORKDIR. An example set is given with its mode; a planned mode goes
# through plan --emit-set first.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
host=$1 work=$2
examples="$here/../../examples"
device=TQ2H4-FF676
rm -rf "$work"
mkdir -p "$work"

check() {
    local dir=$1
    for v in "$dir"/*.v; do
        iverilog -g2005 -o /dev/null "$v"
        if command -v verilator >/dev/null; then verilator --lint-only -Wall "$v"; fi
    done
    echo "transport modules clean: $dir"
}

example() {
    local set=$1 file
    shift
    file=$(sed -n 's/^ *"file": "\(.*\)",$/\1/p' "$set")
    "$host" transport "$set" --workdir "$work" "$@" >/dev/null
    check "$work/$file/transport"
}

# planned NAME FS L MODE...: the plan takes the sample rate and the lanes, both the mode.
planned() {
    local name=$1 fs=$2 lanes=$3
    shift 3
    "$host" plan --device "$device" --emit-set "$work/$name.json" --fs "$fs" --l "$lanes" "$@" \
        >/dev/null
    "$host" transport "$work/$name.json" --workdir "$work" "$@" >/dev/null
    check "$work/$name/transport"
}

example "$examples/both_8lane.json" --m 16 --s 4 --np 16
example "$examples/groupb.json" --m 2 --s 1 --np 16
example "$examples/rx_2lane.json" --m 2 --s 2 --np 16 --n 14 --cs 1
example "$examples/tx_2lane.json" --m 4 --s 1 --np 16
# High density, packed 12-bit samples (F = 3) with a control and a tail bit, control bits,
# one lane with F = 6 and F = 12.
planned hd 1000 4 --m 2 --s 1 --np 16 --n 14
planned packed 500 4 --m 4 --s 2 --np 12 --n 10 --cs 1
planned control 250 2 --m 2 --s 1 --np 16 --n 14 --cs 2
planned f6 200 1 --m 2 --s 2 --np 12
planned f12 150 1 --m 4 --s 2 --np 12
