#!/usr/bin/env bash
# Close ends the real program with status 0, both once
# start-up is over and while the start-up pause is still running.
# Run inside run_e2e.sh, which provides the display, window manager and sound.
set -u
status=0

close_drawn() {  # the red Close button is on the screen, so it can take a click
  import -window root -crop "1x1+$((x + 960))+$((y + 12))" -depth 8 txt:- 2>/dev/null | grep -qi '#FF0000'
}

tick_shown() {  # the red tick beside Numbers, read off the screen
  import -window root -crop "67x50+$((x + 64 + 280))+$((y + 56 + 160))" -depth 8 txt:- 2>/dev/null | grep -qi '#FC020C'
}

for when in after-startup in-pause; do
  "$QUIBBET_EXE" >/dev/null 2>&1 &
  q=$!
  wid=
  for _ in $(seq 250); do
    wid=$(xdotool search --name '^Form2$' 2>/dev/null | head -n 1)
    [[ -n "$wid" ]] && break
    sleep 0.02
  done
  if [[ -z "$wid" ]]; then echo "FAIL $when: the main window never mapped"; kill "$q"; status=1; continue; fi
  eval "$(xdotool getwindowgeometry --shell "$wid" | grep -E '^(X|Y)=' | tr 'XY' 'xy')"
  for _ in $(seq 100); do close_drawn && break; sleep 0.01; done
  if [[ $when == after-startup ]]; then
    for _ in $(seq 100); do tick_shown && break; sleep 0.1; done
    tick_shown || { echo "FAIL $when: start-up never ended"; kill "$q"; status=1; continue; }
  fi
  if [[ $when == in-pause ]] && tick_shown; then echo "note: start-up had ended before the click"; fi
  xdotool mousemove $((x + 1000)) $((y + 29)) click 1
  t0=$(date +%s%N)
  for _ in $(seq 250); do kill -0 "$q" 2>/dev/null || break; sleep 0.02; done
  echo "$when: ended $(( ($(date +%s%N) - t0) / 1000000 )) ms after the click"
  if kill -0 "$q" 2>/dev/null; then
    echo "FAIL $when: still running 5 s after Close"; kill -9 "$q"; status=1; continue
  fi
  wait "$q"
  code=$?
  if [[ $code -ne 0 ]]; then echo "FAIL $when: exit status $code"; status=1; else echo "PASS $when: exit status 0"; fi
done
exit $status
