#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all (or those whose names are given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKINOVIA_TESTS=OFF -DKINOVIA_BENCHMARKS=ON
cmake --build build/bench
for b in build/bench/bench/*/bench_*; do
  [ -x "$b" ] || continue
  if [ $# -eq 0 ] || printf '%s\n' "$@" | grep -qx "$(basename "$b")"; then "$b"; fi
done
