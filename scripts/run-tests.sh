#!/usr/bin/env bash
# Builds (Release, in build/ or the folder given as $1) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
scripts/build.sh "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$BUILD_DIR" --output-on-failure
