#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60), as many at once as
# there are cores. A target fuzz_NAME in tests/fuzz/AREA/ starts from its seed corpus
# tests/fuzz/AREA/fuzz_NAME/ and its dictionary tests/fuzz/AREA/fuzz_NAME.dict; what it learns is
# kept in build/fuzz/corpus/fuzz_NAME. A crash, a leak, a timeout or a sanitizer report leaves its
# input in build/fuzz/artifacts/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash tools/setup.sh
# Every unit the fuzzers reach is instrumented, so coverage guides them through our own code.
flags="-fsanitize=fuzzer-no-link,address,undefined"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DKINOVIA_FUZZERS=ON -DKINOVIA_TESTS=OFF -DKINOVIA_BENCHMARKS=OFF \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags"
cmake --build build/fuzz --target fuzzers
mkdir -p build/fuzz/artifacts build/fuzz/logs

run_one() {
  local binary=$1 seconds=$2
  local name area seeds dict work
  name=$(basename "$binary")
  area=$(basename "$(dirname "$binary")")
  seeds="tests/fuzz/$area/$name"
  dict="tests/fuzz/$area/$name.dict"
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="build/fuzz/artifacts/$name-")
  [ -f "$dict" ] && options+=(-dict="$dict")
  if "$binary" "${options[@]}" "$work" "$seeds" > "build/fuzz/logs/$name.log" 2>&1; then
    echo "== $name: clean for ${seconds}s ($(grep -o 'cov: [0-9]*' "build/fuzz/logs/$name.log" | tail -1))"
  else
    echo "== $name: FAILED, see build/fuzz/logs/$name.log and build/fuzz/artifacts/" >&2
    tail -40 "build/fuzz/logs/$name.log" >&2
    return 1
  fi
}
export -f run_one

find build/fuzz/tests/fuzz -type f -name 'fuzz_*' -perm -u+x | sort |
  xargs -P "$(nproc)" -I{} bash -c 'run_one "$1" "$2"' _ {} "$seconds"
