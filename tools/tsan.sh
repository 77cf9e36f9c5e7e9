#!/usr/bin/env bash
# Builds the video tests with ThreadSanitizer and runs them: the playback timer's thread against
# the interface thread. Only the video targets that drive frame sources and playback in-process are
# built (the command-line tests run single-threaded commands and would pull in the whole program),
# so the build stays small. tests/tsan.supp silences the media libraries, never Kinovia's own code.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKINOVIA_TSAN=ON \
  -DKINOVIA_BENCHMARKS=OFF
cmake --build build/tsan --target test_video_sources test_video_avi test_video_timeline
# A report makes the process exit with 66, which fails its test.
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp:second_deadlock_stack=1"
cd build/tsan/tests/video
# The video programs left unbuilt here (the command line, the ffmpeg corpus) are ctest's placeholders.
ctest --output-on-failure --timeout 900 -j "$(nproc)" -E '_NOT_BUILT$'
