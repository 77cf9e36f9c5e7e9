#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) on its corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
# Every unit the fuzzers reach is instrumented, so coverage guides them through our own code.
flags="-fsanitize=fuzzer-no-link,address,undefined"
bash tools/setup.sh
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DKINOVIA_FUZZERS=ON -DKINOVIA_TESTS=OFF -DKINOVIA_BENCHMARKS=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags"
cmake --build build/fuzz --target fuzzers
for f in build/fuzz/tests/fuzz/*/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="tests/fuzz/$(basename "$(dirname "$f")")/corpus"
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  echo "== $name for ${seconds}s"
  "$f" -max_total_time="$seconds" -print_final_stats=1 "$work" "$corpus"
done
