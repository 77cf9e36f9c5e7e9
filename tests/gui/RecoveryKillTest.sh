#!/usr/bin/env bash
# Never losing a pupil's pointing, on the real program under a virtual X server: marks are
# pointed with the mouse, the recovery file appears (by the 30 s timer, then after 20 changes), the
# program is killed with SIGKILL, started again, "Recuperar" is pressed, and the work it then holds
# is exactly the work that was pointed.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMP=$work HOME=$work QT_QPA_PLATFORM=xcb

timeout 260 xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  program=$1 work=$2
  fail() { echo "FAIL: $*" >&2; exit 1; }
  wait_for() {  # wait_for SECONDS TEST...
    local limit=$1; shift
    for _ in $(seq 1 $((limit * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
  }
  window_shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
  point() {  # point FIRST COUNT: clicks on the picture, each mark taking the clip one frame on
    for k in $(seq $1 $(($1 + $2 - 1))); do
      xdotool mousemove $((380 + 12 * k)) $((260 + 6 * k)) click 1
      sleep 0.25
    done
  }
  marks() { grep -c "^MarkXCoordinate" "$1" || true; }

  "$program" --no-welcome >>"$work/stderr" 2>&1 &
  first=$!
  wait_for 60 window_shown "\.avi" || fail "no clip shown"
  sleep 1
  recovery="$work/Kinovia-recovery-$first.knv"

  point 0 3
  wait_for 40 test -s "$recovery" || fail "no recovery file 30 s after pointing"
  cp "$recovery" "$work/after-timer.knv"
  point 3 20
  wait_for 10 bash -c "! cmp -s \"$recovery\" \"$work/after-timer.knv\"" \
    || fail "20 changes did not write the recovery file"
  sleep 0.5
  cp "$recovery" "$work/pointed.knv"
  [ "$(marks "$work/pointed.knv")" -eq 23 ] || fail "$(marks "$work/pointed.knv") marks kept of 23"
  kill -KILL $first
  wait $first 2>/dev/null || true
  [ -s "$recovery" ] || fail "the recovery file did not outlive the program"

  "$program" --no-welcome >>"$work/stderr" 2>&1 &
  second=$!
  # The offer shows first; its default button is "Recuperar". A second start under the
  # sanitizers, beside other tests on two processors, once took over a minute to show it.
  wait_for 120 window_shown "^Kinovia$" || fail "no recovery offer"
  sleep 1
  xdotool search --onlyvisible --name "^Kinovia$" windowactivate --sync 2>/dev/null || true
  xdotool key Return
  again="$work/Kinovia-recovery-$second.knv"
  wait_for 30 test -s "$again" || fail "the recovered work was not kept in a file of its own"
  wait_for 5 bash -c "! test -e \"$recovery\"" || fail "the recovered file stays behind"
  cmp "$work/pointed.knv" "$again" || { diff "$work/pointed.knv" "$again" >&2; fail "the recovered work differs"; }
  echo "recovered $(marks "$again") coordinates of marks" >&2
  kill $second 2>/dev/null || true
  wait $second 2>/dev/null || true
' _ "$program" "$work" || { echo "--- program output:" >&2; cat "$work/stderr" >&2; exit 1; }
