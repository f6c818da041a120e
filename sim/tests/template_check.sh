#!/usr/bin/env bash
# Generates each set's core with its instantiation template and timing constraints, compiles
# the template against the wrapper and the model (Icarus, and Verilator -Wall when installed)
# and reads the constraints with SDC stubs against the set's clock rates. A set with a link
# record beside it gets its transport modules too, which the template instantiates beside the
# core. Last, a planned set (with its record) goes the same way:
# template_check.sh HOST WORKDIR PARAMS.json...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
model="$here/../model"
host=$1 work=$2
shift 2
mkdir -p "$work"
check() {
    local params=$1 file transport=()
    file=$(sed -n 's/^ *"file": "\(.*\)",$/\1/p' "$params")
    if [ -f "${params%.json}.link.json" ]; then transport=(--with-transport); fi
    "$host" generate "$params" --with-template "${transport[@]}" --workdir "$work" >/dev/null
    hdr="$work/$file/temp/jesd204b"
    top=$(sed -n 's/^`define module_name //p' "$hdr/top_define.vh")
    harness="$work/${top}_harness.v"
    # The template's nets stand for the user's design, which drives and reads them.
    printf '%s\n' 'module template_harness;' '/* verilator lint_off UNDRIVEN */' \
        '/* verilator lint_off UNUSED */' "\`include \"${top}_inst.v\"" 'endmodule' >"$harness"
    sources=("$here/../../data/data/jesd204b_top.v" "$model"/*.v)
    if [ ${#transport[@]} -gt 0 ]; then
        sources+=("$work/$file"/transport/*.v)
        grep -q "^${file}_rx_transport u_${file}_rx_transport (" "$hdr/${top}_inst.v"
    fi
    # Without the quad PLL status ports, then with all four.
    for plls in "" "-DJESD204B_Q0_QPLL0_OK -DJESD204B_Q0_QPLL1_OK -DJESD204B_Q1_QPLL0_OK -DJESD204B_Q1_QPLL1_OK"; do
        # shellcheck disable=SC2086
        iverilog -g2005 $plls -I"$hdr" -I"$model" -s template_harness -o "$work/${top}.vvp" \
            "$harness" "${sources[@]}"
    done
    if command -v verilator >/dev/null; then
        verilator --lint-only -Wall -Wno-DECLFILENAME -I"$hdr" -I"$model" \
            --top-module template_harness "$harness" "${sources[@]}"
    fi
    expected=$(python3 - "$params" <<'PY'
import json, sys
from fractions import Fraction as F
s = json.load(open(sys.argv[1]))
ns = lambda mhz: f"{float(F(1000) / mhz):.6f}"
core = F(s["Line_Rate"]) * 1000 / (80 if s["Pcs_Width_64bit"] else 40)
out = ["refclk=" + ns(F(s["Reference_CLK_Frequency"]))]
both = s["Both_Receive_and_Transmit"]
for d, used in (("tx", both or s["Transmit"]), ("rx", both or s["Receive"])):
    if used:
        out += [f"{d}_core_clk=" + ns(core), f"{d}_cfg_clk=" + ns(F(s["Clock_Frequency"]))]
print(" ".join(out))
PY
)
    # shellcheck disable=SC2086
    tclsh "$here/sdc_check.tcl" "$hdr/$top.sdc" $expected
    echo "template clean: $params"
}

for params in "$@"; do check "$params"; done
# Packed 12-bit samples with a control bit, both directions.
"$host" plan --device TQ2H4-FF676 --emit-set "$work/planned.json" --fs 500 --l 4 --m 4 --s 2 \
    --np 12 --n 10 --cs 1 >/dev/null
check "$work/planned.json"
