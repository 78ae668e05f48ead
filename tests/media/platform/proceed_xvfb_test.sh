#!/bin/sh
# Shows the real question box on an X display (run under xvfb-run) and answers it with
# synthetic input: Return must give Yes (1), Escape Cancel (-1), and a click on the middle
# button No (0).
# Usage: proceed_xvfb_test.sh PATH_TO_platform_proceed_probe
set -u

probe=$1
title="Probe Title"
failures=0

if [ -z "${DISPLAY:-}" ]; then
  echo "no DISPLAY: run under xvfb-run" >&2
  exit 1
fi

# Prints the id of the window titled "$title", polling for up to ten seconds.
find_box() {
  tries=0
  while [ "$tries" -lt 100 ]; do
    id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
    tries=$((tries + 1))
  done
  return 1
}

# Acts on the box window $1: "Return" or "Escape" press that key, "click-middle" clicks the
# middle of the three buttons (they sit centred in a row along the bottom edge).
act() {
  if [ "$2" = click-middle ]; then
    w=$(xwininfo -id "$1" | awk '/Width:/ {print $2}')
    h=$(xwininfo -id "$1" | awk '/Height:/ {print $2}')
    xdotool mousemove --window "$1" $((w / 2)) $((h - 20)) click 1 2>/dev/null
  else
    xdotool key --window "$1" "$2" 2>/dev/null
  fi
}

# answer ACTION EXPECTED: starts the probe, acts on its box, checks what it printed.
answer() {
  key=$1
  expected=$2
  out=$(mktemp)
  err=$(mktemp)
  "$probe" >"$out" 2>"$err" &
  pid=$!
  if ! id=$(find_box); then
    echo "FAIL ($key): no window titled '$title' appeared" >&2
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    cat "$err" >&2
    rm -f "$out" "$err"
    failures=$((failures + 1))
    return
  fi
  # Let the box finish drawing and reach its event loop before it is answered.
  sleep 0.3
  if ! act "$id" "$key"; then
    echo "FAIL ($key): xdotool could not act on window $id" >&2
    failures=$((failures + 1))
  fi
  # Wait up to ten seconds for the probe to print its answer and end.
  tries=0
  while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 100 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL ($key): the box did not close" >&2
    kill "$pid" 2>/dev/null
    failures=$((failures + 1))
  fi
  wait "$pid" 2>/dev/null
  # Only the answer on stdout counts; stderr may carry library noise (sanitizer builds).
  got=$(tail -n 1 "$out")
  if [ "$got" = "$expected" ]; then
    echo "ok ($key): $got"
  else
    echo "FAIL ($key): expected $expected, got '$got'" >&2
    cat "$err" >&2
    failures=$((failures + 1))
  fi
  rm -f "$out" "$err"
}

answer Return 1
answer Escape -1
answer click-middle 0

[ "$failures" -eq 0 ]
