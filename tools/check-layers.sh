#!/usr/bin/env bash
# Fails when a source includes a header of a layer above its own, or when core/ and logic/ sources
# include anything but the standard library and the string table: Qt, FFmpeg, GStreamer and the
# media back-ends stay out of the logic that tests, benchmarks and kinovia-cli share.
set -euo pipefail
cd "$(dirname "$0")/.."

# The rank of a folder; a source may include its own folder and folders of a lower rank.
rank() {
  case "$1" in
    resources/* | core/*) echo 1 ;;
    logic/formulas/* | logic/models/* | logic/montage/* | logic/video/*) echo 2 ;;
    logic/session/*) echo 3 ;;
    logic/results/*) echo 4 ;;
    logic/settings/*) echo 5 ;;
    logic/*) echo 6 ;;
    media/*) echo 7 ;;
    gui/*) echo 8 ;;
    app/* | cli/*) echo 9 ;;
    *) echo 99 ;;
  esac
}

status=0
while IFS= read -r file; do
  own=$(rank "$file")
  [ "$own" = 99 ] && continue
  while IFS= read -r included; do
    target=$(rank "$included")
    if [ "$target" -gt "$own" ] && [ "$(dirname "$included")" != "$(dirname "$file")" ]; then
      echo "$file: includes $included from a higher layer" >&2
      status=1
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  if [ "$own" -le 6 ] && grep -nE '^#include <(Q|q[a-z]|lib|gst|glib|turbojpeg|zip)' "$file" >&2; then
    echo "$file: a logic source includes a library outside the standard one" >&2
    status=1
  fi
done < <(git ls-files '*.h' '*.cpp' '*.inc' | grep -vE '^(tests|bench|tools)/')
exit $status
