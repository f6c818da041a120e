#!/usr/bin/env bash
# Builds the generated core (jesd204b_top.v + the simulation model) with its headers and the
# self-checking link testbench, runs one link and prints the testbench's summary line.
# Exit status: 0 when the summary says PASS, 1 when it says FAIL or nothing, 2 on bad usage
# or a failed build.
set -euo pipefail

usage() {
    cat <<'USAGE'
usage: sim/run.sh [options] HEADER_DIR
  HEADER_DIR holds top_define.vh and jesd204b_top_defines.vh of the generated core.
  --workdir DIR          build and run there (default: a new temporary folder)
  --frames N             frames to check over the whole run (default 256)
  --lane-skew OCTETS     the last lane lags lane 0 by OCTETS, the others in between (default 0)
  --resyncs R            re-synchronisations requested after link-up (default 0)
  --inject-error LANE    flip one bit on LANE once the link is up (default: none)
  --dump-lanes FILE      write the transmitted code groups, one line per character time
  --simulator S          iverilog (default) or verilator
  --test-pattern P       rpat or jspat: the transmitter sends the pattern instead of the data
                         (the headers must enable it); the data is then not checked
  --f F --k K --scrambling 0|1
                         link parameters instead of the headers' defaults
  --m M --n N --np NP --s S --cs CS --cf CF --hd HD --did DID --bid BID
                         link parameters the headers do not fix
USAGE
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
workdir="" sim=iverilog hdr="" dump=""
declare -A opt=()
while [ $# -gt 0 ]; do
    case "$1" in
        --workdir) workdir=$2; shift 2 ;;
        --simulator) sim=$2; shift 2 ;;
        --dump-lanes) dump=$2; shift 2 ;;
        --test-pattern)
            case "$2" in rpat) opt[TEST_MODE]=1 ;; jspat) opt[TEST_MODE]=2 ;;
                *) echo "run.sh: --test-pattern takes rpat or jspat" >&2; exit 2 ;; esac
            shift 2 ;;
        --frames) opt[FRAMES]=$2; shift 2 ;;
        --lane-skew) opt[SKEW]=$2; shift 2 ;;
        --resyncs) opt[RESYNCS]=$2; shift 2 ;;
        --inject-error) opt[INJECT]=$2; shift 2 ;;
        --f) opt[F]=$2; shift 2 ;;
        --k) opt[K]=$2; shift 2 ;;
        --scrambling) opt[SCR]=$2; shift 2 ;;
        --m) opt[M]=$2; shift 2 ;;
        --n) opt[N]=$2; shift 2 ;;
        --np) opt[NP]=$2; shift 2 ;;
        --s) opt[S]=$2; shift 2 ;;
        --cs) opt[CS]=$2; shift 2 ;;
        --cf) opt[CF]=$2; shift 2 ;;
        --hd) opt[HD]=$2; shift 2 ;;
        --did) opt[DID]=$2; shift 2 ;;
        --bid) opt[BID]=$2; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        -*) echo "run.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
        *) hdr=$1; shift ;;
    esac
done
[ -n "$hdr" ] || { usage >&2; exit 2; }
for f in top_define.vh jesd204b_top_defines.vh; do
    [ -f "$hdr/$f" ] || { echo "run.sh: $hdr/$f not found" >&2; exit 2; }
done
for k in "${!opt[@]}"; do
    v=${opt[$k]}
    if [[ $v =~ ^0[xX]([0-9a-fA-F]+)$ ]]; then opt[$k]=$((16#${BASH_REMATCH[1]}))
    elif [[ $v =~ ^(-?)([0-9]+)$ ]]; then opt[$k]=${BASH_REMATCH[1]}$((10#${BASH_REMATCH[2]}))
    else echo "run.sh: $k must be an integer" >&2; exit 2; fi
done
hdr=$(cd "$hdr" && pwd)

# The model moves whole multiframes of F*K octets in clocks of 4 (MODE 1) or 8 (MODE 2).
define() { sed -n "s/^\`define $1 \(.*\)$/\1/p" "$hdr/jesd204b_top_defines.vh" | head -n1; }
mode=$(define MODE); mode=${mode:-1}
f=${opt[F]:-$(( $(define INIT_F) + 1 ))}
k=${opt[K]:-$(( $(define INIT_K) + 1 ))}
if (( f < 1 || f > 256 || k < 1 || k > 32 || (f * k) % (4 * mode) != 0 || f * k < 17 )); then
    echo "run.sh: F=$f K=$k: F*K must be at least 17 and a multiple of $((4 * mode))" >&2
    exit 2
fi

if [ -z "$workdir" ]; then workdir=$(mktemp -d); fi
mkdir -p "$workdir"
workdir=$(cd "$workdir" && pwd)
{
    echo "// Written by sim/run.sh."
    for k in "${!opt[@]}"; do echo "\`define TB_$k (${opt[$k]})"; done
    if [ -n "$dump" ]; then
        case "$dump" in /*) ;; *) dump="$PWD/$dump" ;; esac
        echo "\`define TB_DUMP \"$dump\""
    fi
} > "$workdir/tb_config.vh"

model="$here/model"
tb="$here/tb"
sources=("$root/data/data/jesd204b_top.v" "$model/jesd204b_core.v" "$model/jesd204b_lmfc.v"
         "$model/jesd204b_tx_link.v" "$model/jesd204b_rx_link.v" "$model/jesd204b_cfg_regs.v"
         "$tb/jesd204b_tb_channel.v" "$tb/jesd204b_tb.v")
incs=(-I"$workdir" -I"$hdr" -I"$model" -I"$tb")
log="$workdir/sim.log"

case "$sim" in
    iverilog)
        iverilog -g2005 -o "$workdir/tb.vvp" "${incs[@]}" -s jesd204b_tb "${sources[@]}" \
            > "$workdir/build.log" 2>&1 || { cat "$workdir/build.log" >&2; exit 2; }
        (cd "$workdir" && vvp -n tb.vvp) > "$log" 2>&1 || true ;;
    verilator)
        verilator --binary -j 2 -O2 --top-module jesd204b_tb -Wno-fatal -Wno-lint -Wno-style \
            "${incs[@]}" -Mdir "$workdir/obj_dir" -o tb "${sources[@]}" \
            > "$workdir/build.log" 2>&1 || { cat "$workdir/build.log" >&2; exit 2; }
        (cd "$workdir" && ./obj_dir/tb) > "$log" 2>&1 || true ;;
    *) echo "run.sh: unknown simulator $sim" >&2; exit 2 ;;
esac

summary=$(grep '^JESD204B_SIM ' "$log" | tail -n1 || true)
if [ -z "$summary" ]; then
    cat "$log" >&2
    echo "JESD204B_SIM result=FAIL (no summary)"
    exit 1
fi
echo "$summary"
[[ $summary == *" result=PASS "* ]]
