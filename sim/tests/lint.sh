#!/usr/bin/env bash
# Lints the model under verilator -Wall with the headers of every parameter set given, as the
# host generates them: lint.sh HOST WORKDIR PARAMS.json...
# DECLFILENAME is waived: the wrapper's module is named by its header.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
model="$here/../model"
host=$1 work=$2
shift 2
for params in "$@"; do
    "$host" generate "$params" --workdir "$work" >/dev/null
    hdr="$work/$(sed -n 's/^ *"file": "\(.*\)",$/\1/p' "$params")/temp/jesd204b"
    top=$(sed -n 's/^`define module_name //p' "$hdr/top_define.vh")
    verilator --lint-only -Wall -Wno-DECLFILENAME -I"$hdr" -I"$model" --top-module "$top" \
        "$here/../../data/data/jesd204b_top.v" "$model"/*.v
    for t in tx rx; do
        verilator --lint-only -Wall -I"$model" --top-module "jesd204b_${t}_link" \
            "$model/jesd204b_${t}_link.v" "$model/jesd204b_lmfc.v"
    done
    echo "lint clean: $params"
done
