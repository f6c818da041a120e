#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build-fuzz/ and fuzzes each for a while.
#   scripts/run-fuzz.sh [SECONDS] [HARNESS...]
# SECONDS per harness (default 15); all harnesses when none is named. PARALLEL=n runs n at a
# time (default 1). The repository's corpus is only read: each run grows a copy under
# build-fuzz/corpus/. Crashes, leaks and timeouts land in build-fuzz/findings/<harness>/ and
# fail the script. Each run ends with a line: harness, executions, coverage, corpus size,
# findings.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
SECONDS_EACH=${1:-15}
shift || true
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
PARALLEL=${PARALLEL:-1}
ALL=(fuzz_parameterset fuzz_ipspec fuzz_designfile fuzz_generator fuzz_designpll)
HARNESSES=("${@:-${ALL[@]}}")

CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DJESD_BUILD_FUZZ=ON -DJESD_BUILD_BENCH=OFF -DJESD_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target "${HARNESSES[@]}"

export ASAN_OPTIONS="halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$ROOT/scripts/ubsan.supp"

dictionary() {
    case $1 in
    fuzz_generator) echo "$ROOT/fuzz/dict/options.dict" ;;
    *) echo "$ROOT/fuzz/dict/json.dict" ;;
    esac
}

run_one() {
    local name=$1
    local corpus="$BUILD_DIR/corpus/$name" findings="$BUILD_DIR/findings/$name"
    local log="$BUILD_DIR/logs/$name.log"
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    cp -n "$ROOT/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
    local status=0
    # Leak checks need full stacks to match scripts/lsan.supp (Qt has no frame pointers), which
    # slows every allocation twentyfold; so the fuzzing runs without them and every input it
    # kept is replayed with them afterwards.
    ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" "$BUILD_DIR/bin/$name" "$corpus" \
        -dict="$(dictionary "$name")" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -detect_leaks=0 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    if [ "$status" -eq 0 ]; then
        ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=1:fast_unwind_on_malloc=0" \
            "$BUILD_DIR/bin/$name" -runs=0 \
            -detect_leaks=1 -artifact_prefix="$findings/" "$corpus" >"$log.leaks" 2>&1 || status=$?
        [ "$status" -eq 0 ] || tail -40 "$log.leaks"
    fi
    local execs cov ft corp found
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    corp=$(find "$corpus" -type f | wc -l)
    found=$(find "$findings" -type f | wc -l)
    echo "$name: ${SECONDS_EACH}s, ${execs:-?} executions, cov ${cov:-?}, ft ${ft:-?}, corpus $corp, findings $found (exit $status)"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        tail -40 "$log"
        return 1
    fi
}

failed=0
pids=()
for name in "${HARNESSES[@]}"; do
    run_one "$name" &
    pids+=($!)
    if [ "${#pids[@]}" -ge "$PARALLEL" ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
