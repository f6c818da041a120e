#!/usr/bin/env bash
# Debian 12 packages the build, the tests, the benchmarks and the Debian package need.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    cmake make g++ qtbase5-dev iverilog verilator libbenchmark-dev \
    clang libclang-rt-14-dev valgrind \
    python3 python3-jsonschema python3-matplotlib xvfb xdotool x11-utils imagemagick \
    help2man dpkg-dev file bash-completion
