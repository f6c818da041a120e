#!/usr/bin/env bash
# Runs a link with sim/run.sh, dumping the transmitted lanes, and checks the dump with
# check_lanes.py: dump_check.sh WORKDIR HEADER_DIR "CHECK ARGS" [run.sh options...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$1 hdr=$2 check=$3
shift 3
mkdir -p "$work"
"$here/../run.sh" "$hdr" --workdir "$work" --dump-lanes "$work/lanes.txt" "$@"
# shellcheck disable=SC2086
python3 "$here/check_lanes.py" "$work/lanes.txt" $check
