#!/usr/bin/env bash
# Installs what is missing, builds Kinovia and starts it (on a sample clip).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINOVIA_TESTS=OFF -DKINOVIA_BENCHMARKS=OFF
cmake --build build/release --target kinovia kinovia-cli
exec build/release/kinovia "$@"
