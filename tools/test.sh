#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
# Cache hits across clones of the repository (CI builds in a fresh folder).
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKINOVIA_SANITIZE=ON
cmake --build build/test
cd build/test
ctest --output-on-failure --timeout 900 -j "$(nproc)"
