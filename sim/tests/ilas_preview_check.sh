#!/usr/bin/env bash
# The ILAS a simulated transmitter sends against the planner's preview of the same set, lane by
# lane: ilas_preview_check.sh HOST WORKDIR PARAMS.json F K SCRAMBLED [converter options...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
host=$1 work=$2 params=$3 f=$4 k=$5 scrambled=$6
shift 6
mkdir -p "$work"
"$host" ilas "$params" "$@" > "$work/preview.txt"
"$host" simulate "$params" --workdir "$work" --dump-lanes "$work/lanes.txt" --frames 64 "$@"
python3 "$here/check_lanes.py" "$work/lanes.txt" --f "$f" --k "$k" --scrambled "$scrambled" \
    --ilas-preview "$work/preview.txt"
