#!/usr/bin/env bash
# Mutation run: puts each single-point fault of scripts/mutations.txt into a scratch copy of the
# tree (BUILD_DIR, default build-mutations/, built in BUILD_DIR/build), rebuilds it
# incrementally, runs the whole suite (the fast tests first, the simulations and the real
# window only when those pass), and restores the file. A mutation is killed when a test
# fails. Prints killed/survived per mutation and the score; exits 1 below 90%, 2 when the list
# no longer matches the code (a pattern found on no line or on several, or a mutant that does
# not compile) or the unmutated suite fails. The working tree is only read.
#
#   scripts/run-mutations.sh [BUILD_DIR]
#   ONLY='generator|sim/' scripts/run-mutations.sh   # the mutations whose line matches the regex
#   MUTATIONS=other.txt JOBS=2 SKIP_BASELINE=1 scripts/run-mutations.sh
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
WORK=$(realpath -m "${1:-build-mutations}")
LIST=$(realpath "${MUTATIONS:-scripts/mutations.txt}")
JOBS=${JOBS:-2}
# The copy is laid out like the tree, so the shared compiler cache serves its first build.
SRC=$WORK
BUILD=$WORK/build
LOG=$WORK/logs
export QT_QPA_PLATFORM=offscreen
mkdir -p "$SRC" "$LOG"

# Copies the tracked and new files whose content differs, so that an unchanged file keeps its
# time stamp and is not rebuilt.
git ls-files -co --exclude-standard -z | python3 -c '
import os, shutil, sys, filecmp
src = sys.argv[1]
for name in sys.stdin.buffer.read().decode().split("\0"):
    if not name or not os.path.isfile(name):
        continue
    target = os.path.join(src, name)
    if os.path.isfile(target) and filecmp.cmp(name, target, shallow=False):
        continue
    os.makedirs(os.path.dirname(target) or ".", exist_ok=True)
    shutil.copy2(name, target)
' "$SRC"

build() { cmake --build "$BUILD" -j"$JOBS" >"$1" 2>&1; }
suite() { ctest --test-dir "$BUILD" -j"$JOBS" --timeout 900 "$@"; }
# The simulations and the real window take most of a suite run; the rest goes first, so that a
# fault the unit and program tests catch costs them alone. A fault in the simulation models
# starts with the simulations. A survivor has passed both halves: the whole suite.
SLOW='^(sim|window)$'
halves() {
    case "$1" in
    sim/*) suite --stop-on-failure -L "$SLOW" && suite --stop-on-failure -LE "$SLOW" ;;
    *) suite --stop-on-failure -LE "$SLOW" && suite --stop-on-failure -L "$SLOW" ;;
    esac
}

cmake -S "$SRC" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DJESD_BUILD_BENCH=OFF >"$LOG/configure.log" 2>&1 ||
    { echo "configure failed: $LOG/configure.log"; exit 2; }
build "$LOG/build.log" || { echo "the unmutated tree does not build: $LOG/build.log"; exit 2; }
if [ -z "${SKIP_BASELINE:-}" ]; then
    suite >"$LOG/baseline.log" 2>&1 || { echo "the unmutated suite fails: $LOG/baseline.log"; exit 2; }
fi

# Replaces PATTERN by REPLACEMENT on the one line of FILE that holds it.
mutate() {
    python3 - "$@" <<'EOF'
import sys
path, pattern, replacement = sys.argv[1:4]
lines = open(path, encoding="utf-8").read().split("\n")
hits = [i for i, line in enumerate(lines) if pattern in line]
if len(hits) != 1:
    print(f"{len(hits)} lines hold the pattern", file=sys.stderr)
    sys.exit(1)
lines[hits[0]] = lines[hits[0]].replace(pattern, replacement, 1)
open(path, "w", encoding="utf-8").write("\n".join(lines))
EOF
}

killed=0
survived=0
stale=0
n=0
while IFS= read -r entry; do
    case "$entry" in '' | '#'*) continue ;; esac
    [ -n "${ONLY:-}" ] && ! grep -Eq -- "$ONLY" <<<"$entry" && continue
    file=${entry%% ||| *}
    rest=${entry#* ||| }
    pattern=${rest%% ||| *}
    replacement=${rest#* ||| }
    n=$((n + 1))
    label="$file: $pattern -> $replacement"
    if ! mutate "$SRC/$file" "$pattern" "$replacement" 2>"$LOG/$n.apply"; then
        echo "STALE     #$n $label ($(cat "$LOG/$n.apply"))"
        stale=$((stale + 1))
        continue
    fi
    if ! build "$LOG/$n.build"; then
        echo "NO BUILD  #$n $label ($LOG/$n.build)"
        stale=$((stale + 1))
    elif halves "$file" >"$LOG/$n.test" 2>&1; then
        echo "SURVIVED  #$n $label"
        survived=$((survived + 1))
    else
        first=$(grep -m1 -oE '[0-9]+/[0-9]+ Test +#[0-9]+: [^ ]+ .*(Failed|Timeout|Exception)' "$LOG/$n.test" |
            sed -E 's/.*: ([^ ]+) .*/\1/')
        echo "KILLED    #$n $label (${first:-see $LOG/$n.test})"
        killed=$((killed + 1))
    fi
    cp "$ROOT/$file" "$SRC/$file"
done <"$LIST"

# Leaves the scratch build matching the working tree for the next run.
build "$LOG/restore.log" >/dev/null 2>&1
total=$((killed + survived))
[ "$total" -gt 0 ] || { echo "no mutation run"; exit 2; }
score=$((100 * killed / total))
echo "score: $killed of $total killed ($score%), $stale stale"
[ "$stale" -eq 0 ] || exit 2
[ "$score" -ge 90 ]
