#!/usr/bin/env bash
# Runs the music disk the way a person would, on a virtual X display: answers the question
# box with the keyboard, looks for the windows, quits with Escape, checks exit codes.
#   xvfb_session.sh <musicdisk>        (run under xvfb-run; needs xdotool and xwininfo)
set -uo pipefail
program="$1"
title="VOK Music Collection #1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Window ids whose name is the title, with their sizes: "id width height" per line.
titled_windows() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" |
    sed -E 's/^ *(0x[0-9a-f]+) .*: \([^)]*\) +([0-9]+)x([0-9]+).*/\1 \2 \3/'
}

# Waits up to $2 seconds for a titled window matching the awk condition $1 on width/height.
wait_window() {
  local condition="$1" limit="$2" id
  for ((i = 0; i < limit * 10; i++)); do
    id="$(titled_windows | awk "$condition {print \$1; exit}")"
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

wait_exit() {  # wait_exit <pid> <seconds>; sets rc to the exit code, or "timeout"
  local pid="$1" limit="$2"
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      rc=$?
      return 0
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  rc=timeout
}

question_box='!($2 == 800 && $3 == 600)'
main_window='$2 == 800 && $3 == 600'

# 1. Escape in the question box ends the program, exit 0, no main window.
SDL_AUDIODRIVER=dummy "$program" 2>"$work/err1" &
pid=$!
if box="$(wait_window "$question_box" 20)"; then
  pass "the question box appears with the title"
  sleep 0.3
  xdotool key --window "$box" Escape
  wait_exit "$pid" 10
  [[ "$rc" == 0 ]] && pass "Escape in the question box exits 0" || fail "Escape in the question box: exit $rc"
  [[ -z "$(titled_windows | awk "$main_window")" ]] && pass "no main window after Cancel" || fail "a main window is open after Cancel"
else
  fail "no question box within 20 s"; kill -9 "$pid" 2>/dev/null
fi

# 2. Return answers Yes (full screen); Escape in the running program then ends it, exit 0.
SDL_AUDIODRIVER=dummy "$program" 2>"$work/err2" &
pid=$!
if box="$(wait_window "$question_box" 20)"; then
  sleep 0.3
  xdotool key --window "$box" Return
  if win="$(wait_window "\$1 != \"$box\"" 20)"; then
    sleep 2  # past the loading screen
    pass "a display opens after Return ($(titled_windows | grep "^$win"))"
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" Escape
    wait_exit "$pid" 10
    [[ "$rc" == 0 ]] && pass "Escape in the running program exits 0" || fail "Escape in the running program: exit $rc"
  else
    fail "no display after Return"; kill -9 "$pid" 2>/dev/null
  fi
else
  fail "no question box within 20 s"; kill -9 "$pid" 2>/dev/null
fi

# 3. Without an audio output: the diagnostic, exit 0, no window at all.
SDL_AUDIODRIVER=no-such-driver "$program" 2>"$work/err3" &
pid=$!
wait_exit "$pid" 10
[[ "$rc" == 0 ]] && pass "no audio output: exit 0" || fail "no audio output: exit $rc"
grep -qx "Can't initialize output device" "$work/err3" && pass "no audio output: diagnostic on stderr" ||
  fail "no audio output: stderr was '$(cat "$work/err3")'"
[[ -z "$(titled_windows)" ]] && pass "no audio output: no window" || fail "no audio output: a window is open"

# 4. Without any display: a message on stderr and exit 1, not a silent success.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "$program" 2>"$work/err4" &
pid=$!
wait_exit "$pid" 10
[[ "$rc" == 1 ]] && pass "no display: exit 1" || fail "no display: exit $rc"
grep -qx "Can't open a display" "$work/err4" && pass "no display: message on stderr" ||
  fail "no display: stderr was '$(cat "$work/err4")'"

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
