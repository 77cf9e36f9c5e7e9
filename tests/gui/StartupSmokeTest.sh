#!/usr/bin/env bash
# Starts the built program under a virtual X server, waits until it has put the first frame of a
# sample clip on screen, and checks the picture it shows.
set -euo pipefail
program=$1
check=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMP=$work HOME=$work QT_QPA_PLATFORM=xcb
shot=$work/screen.png
# The program writes the screenshot itself, from the X server's copy of its window.
timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" --no-welcome --screenshot "$2" 2>"$3/stderr" &
  pid=$!
  for _ in $(seq 1 600); do
    [ -s "$2" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  xwininfo -root -tree | grep -q "Cylindre.avi\|Parabole.avi" || echo "window not found" >&2
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$program" "$shot" "$work"
grep "first frame" "$work/stderr" || { cat "$work/stderr"; exit 1; }
QT_QPA_PLATFORM=offscreen "$check" "$shot"
