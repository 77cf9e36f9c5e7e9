#!/usr/bin/env bash
# Drives the real program under a virtual X server with a seeded random sequence of clicks, drags,
# wheel turns, keys and menu openings for a bounded time. Fails on a crash, a sanitizer report or a
# Qt warning; prints the seed so that a failure can be replayed:
#   KINOVIA_RANDOM_SEED=<seed> KINOVIA_RANDOM_SECONDS=<s> tests/gui/RandomDriveTest.sh <kinovia>
set -euo pipefail
program=$1
seconds=${KINOVIA_RANDOM_SECONDS:-40}
seed=${KINOVIA_RANDOM_SEED:-$(( $(date +%s) % 100000 ))}
echo "random drive: seed $seed, ${seconds}s"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMP=$work HOME=$work QT_QPA_PLATFORM=xcb

timeout $((seconds + 120)) xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  program=$1 seconds=$2 seed=$3 work=$4
  RANDOM=$seed
  keys=(Left Right Up Down Home End Prior Next Escape Return Tab space BackSpace Delete
        plus minus equal 0 1 2 3 4 5 6 7 8 9 a m z ctrl+z ctrl+s ctrl+o shift+Left ctrl+Right)
  menus=(alt+a alt+e alt+v alt+p alt+m alt+h alt+r)
  start() { "$program" >>"$work/stderr" 2>&1 & pid=$!; starts=$((starts + 1)); sleep 2; }
  actions=0 starts=0
  start
  end=$((SECONDS + seconds))
  while [ $SECONDS -lt $end ]; do
    if ! kill -0 $pid 2>/dev/null; then
      wait $pid && status=0 || status=$?
      # A clean quit (the random sequence found "Salir") is no fault: start again.
      [ $status -eq 0 ] || { echo "program ended with status $status" >>"$work/stderr"; exit 1; }
      start
    fi
    x=$((RANDOM % 1366)) y=$((RANDOM % 768))
    case $((RANDOM % 10)) in
      0|1|2|3) xdotool mousemove $x $y click $((RANDOM % 3 == 0 ? 3 : 1)) ;;
      4) xdotool mousemove $x $y mousedown 1 mousemove $(( (x + RANDOM % 200 + 1266) % 1366 )) $(( (y + RANDOM % 200 + 668) % 768 )) mouseup 1 ;;
      5) xdotool mousemove $x $y click $((RANDOM % 2 ? 4 : 5)) ;;
      6) xdotool key --clearmodifiers "${menus[RANDOM % ${#menus[@]}]}" ;;
      *) xdotool key --clearmodifiers "${keys[RANDOM % ${#keys[@]}]}" ;;
    esac 2>/dev/null || true
    actions=$((actions + 1))
    sleep 0.0$((RANDOM % 9 + 1))
  done
  echo "$actions actions, $starts starts; windows open at the end:" >&2
  xdotool search --onlyvisible --name . getwindowname %@ >&2 2>/dev/null || true
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' _ "$program" "$seconds" "$seed" "$work" && driven=0 || driven=$?

# Sanitizer reports, crashes and Qt's own warnings about misuse are faults wherever they appear.
faults='ERROR: AddressSanitizer|runtime error:|LeakSanitizer|Segmentation fault|Aborted|QDialog::exec|QObject::|QWidget::|QPainter::|QLayout|QBackingStore|program ended'
if [ $driven -ne 0 ] || grep -qE "$faults" "$work/stderr"; then
  echo "random drive failed (seed $seed); what the program printed:" >&2
  grep -E -A30 "$faults" "$work/stderr" | head -80 >&2 || tail -40 "$work/stderr" >&2
  exit 1
fi
echo "random drive clean (seed $seed)"
