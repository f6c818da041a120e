#!/usr/bin/env bash
# Configures and builds the Release tree in build/ (or the folder given as $1).
# JOBS limits the parallel compile jobs (default: all processors).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release
cmake --build "$BUILD_DIR" -j"${JOBS:-$(nproc)}"
