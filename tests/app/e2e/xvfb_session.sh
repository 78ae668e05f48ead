#!/usr/bin/env bash
# Runs the music disk the way a person would, on a virtual X display, with our own question
# box (the desktop's dialog is in the end-to-end sessions): answers it with keys typed
# through the X server, looks for the windows and what the program asks of the window
# manager, quits with Escape, checks exit codes.
#   xvfb_session.sh <musicdisk>     (run under xvfb-run; needs xdotool and x11-utils)
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

# The X server's record of top-level windows (created, destroyed, requests sent to the
# window manager), one event per line; xev starts it before the program starts.
events() { awk 'BEGIN { RS = "" } { gsub(/\n/, " "); print }' "$work/xev"; }
# Everything recorded up to now: a mark set on the root window comes after all of it.
events_until_now() {
  xprop -root -f _SESSION_MARK 32c -set _SESSION_MARK 1
  for ((i = 0; i < 100; i++)); do
    events | grep -q '^PropertyNotify .*(_SESSION_MARK)' && break
    sleep 0.1
  done
  kill "$xev_pid" 2>/dev/null
  wait "$xev_pid" 2>/dev/null
  events
}

# ask KEY: starts the program with our own question box (a PATH without the desktop's
# dialog), waits for the box and types KEY through the X server; sets pid and box.
ask() {
  : >"$work/xev"  # emptied here, not in the background job, which may start late
  xev -root -event substructure -event property >>"$work/xev" 2>/dev/null &
  xev_pid=$!
  # The record starts once xev sees a mark set on the root window: only then the program.
  for ((i = 0; i < 100; i++)); do
    xprop -root -f _SESSION_READY 32c -set _SESSION_READY "$i"
    events | grep -q '^PropertyNotify .*(_SESSION_READY)' && break
    sleep 0.1
  done
  PATH=/nonexistent SDL_AUDIODRIVER=dummy "$program" 2>"$work/err" &
  pid=$!
  if ! box="$(wait_window "$question_box" 20)"; then
    fail "$1: no question box within 20 s"
    kill -9 "$pid" 2>/dev/null
    return 1
  fi
  for ((i = 0; i < 100; i++)); do xwininfo -id "$box" | grep -q IsViewable && break; sleep 0.1; done
  xprop -id "$box" WM_CLASS | grep -q '"QuestionBox"' || fail "$1: not our own box: $(xprop -id "$box" WM_CLASS)"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key "$1"
}

# 1. Escape and C in the question box end the program, exit 0, and no display was created.
for key in Escape c; do
  ask "$key" || continue
  wait_exit "$pid" 10
  [[ "$rc" == 0 ]] && pass "$key in the question box exits 0" || fail "$key in the question box: exit $rc"
  record="$(events_until_now)"
  grep -qE "^CreateNotify .* window $box," <<<"$record" || fail "$key: the record missed the box"
  created="$(grep -E '^CreateNotify .*width 800, height 600' <<<"$record")"
  [[ -z "$created" ]] && pass "no display after $key" || fail "$key: a display was created: $created"
done

# 2. Y asks the window manager for full screen, N opens a plain 800x600 window; Escape in
# the running program then ends it, exit 0.
for key in y n; do
  ask "$key" || continue
  if win="$(wait_window "$main_window && \$1 != \"$box\"" 20)"; then
    pass "$key: a display opens ($(titled_windows | grep "^$win"))"
    sleep 2  # past the loading screen
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key Escape
    wait_exit "$pid" 10
    [[ "$rc" == 0 ]] && pass "$key: Escape in the running program exits 0" || fail "$key: Escape in the running program: exit $rc"
    record="$(events_until_now)"
    grep -qE "^CreateNotify .* window $win," <<<"$record" || fail "$key: the record missed the display"
    asked="$(grep -cE "^ClientMessage .* window $win, .*\(_NET_WM_STATE\)" <<<"$record")"
    if [[ "$key" == y ]]; then
      ((asked > 0)) && pass "y: full screen asked of the window manager" || fail "y: full screen was not asked for"
    else
      ((asked == 0)) && pass "n: a window, not full screen" || fail "n: full screen was asked for ($asked requests)"
    fi
  else
    fail "$key: no display"; kill -9 "$pid" 2>/dev/null
  fi
done

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
