#!/usr/bin/env bash
# Runs a link with `ipcore-host simulate`, dumping the transmitted lanes, and checks the dump
# with check_lanes.py: dump_check.sh HOST WORKDIR PARAMS.json "CHECK ARGS" [simulate options...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
host=$1 work=$2 params=$3 check=$4
shift 4
mkdir -p "$work"
"$host" simulate "$params" --workdir "$work" --dump-lanes "$work/lanes.txt" "$@"
# shellcheck disable=SC2086
python3 "$here/check_lanes.py" "$work/lanes.txt" $check
