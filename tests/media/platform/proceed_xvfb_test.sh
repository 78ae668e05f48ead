#!/bin/sh
# Shows the real question box on an X display (run under xvfb-run) and answers it as a
# keyboard or mouse user would, with keys typed through the X server, for each box Proceed
# can show: our own box (what Proceed shows on X), the desktop's dialog (zenity, when
# installed; kept for displays without X) and SDL's box (the last resort).
# Usage: proceed_xvfb_test.sh PATH_TO_platform_proceed_probe [PATH_TO_close_request]
set -u

probe=$1
close_request=${2:-}
title="Probe Title"
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -z "${DISPLAY:-}" ]; then
  echo "no DISPLAY: run under xvfb-run" >&2
  exit 1
fi
fail() {
  echo "FAIL ($*)" >&2
  failures=$((failures + 1))
}

# poll TENTHS COMMAND...: runs the command every 0.1 s until it succeeds, at most TENTHS times.
poll() {
  tries=$1
  shift
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}
box_id() { xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n 1; }
box_viewable() {
  id=$(box_id)
  [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q "IsViewable"
}
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ]; }
# Which box it is, by its window class.
kind_of() {
  case "$(xprop -id "$1" WM_CLASS 2>/dev/null)" in
    *'"QuestionBox"'*) echo own ;;
    *'"Zenity"'*) echo zenity ;;
    *) echo other ;;
  esac
}

# start own|zenity [PROBE_ARGUMENT]: starts the probe with the box Proceed picks (our own)
# or the desktop's dialog; for "owned", gives the owner window the focus. Sets pid, and id
# once the box is viewable.
start() {
  if [ "$1" = own ]; then
    "$probe" ${2:-} >"$work/out" 2>"$work/err" &
  else
    "$probe" zenity ${2:-} >"$work/out" 2>"$work/err" &
  fi
  pid=$!
  [ "${2:-}" = owned ] && poll 300 owner_viewable && xdotool windowfocus --sync "$owner"
  # A limit, not a wait: the desktop's dialog starts GTK, seconds on a busy machine.
  poll 600 box_viewable && id=$(box_id)
}
owner_viewable() {
  owner=$(xwininfo -root -tree 2>/dev/null | grep -F '"Probe Owner"' | awk '{print $1}' | head -n 1)
  [ -n "$owner" ] && xwininfo -id "$owner" 2>/dev/null | grep -q "IsViewable"
}

# Waits for the probe to end and sets got to what it answered. Not in a subshell: only the
# shell that started the probe reaps it, and kill -0 succeeds on it until then.
probe_ended() { ! kill -0 "$pid" 2>/dev/null; }
finish_probe() {
  if ! poll 100 probe_ended; then
    echo "the probe did not end (${what:-})" >&2
    kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  # Only the answer on stdout counts; stderr may carry library noise (sanitizer builds).
  got=$(tail -n 1 "$work/out")
}

# answer BOX EXPECTED ACTION...: shows the box, acts on it, checks the answer. ACTION is
# "close" (the window manager's close request), "click-middle" (the middle of the three
# buttons, centred in a row along the bottom edge) or keys typed in turn.
answer() {
  box=$1
  expected=$2
  shift 2
  what="$box: $*"
  shown=$box
  [ "$box" = sdl ] && shown=own
  if ! start "$shown" "$([ "$box" = sdl ] && echo sdl)"; then
    fail "$what: no box titled '$title' appeared"
    cat "$work/err" >&2
    kill -9 "$pid" 2>/dev/null
    return
  fi
  kind=$(kind_of "$id")
  if [ "$box" != sdl ] && [ "$kind" != "$box" ]; then
    fail "$what: the box shown is '$kind'"
    cat "$work/err" >&2
  fi
  # Our box takes the keyboard focus itself; the others are given it, as a desktop would.
  if [ "$box" = own ] && ! poll 50 has_focus "$id"; then fail "$what: the box has no focus"; fi
  case "$1" in
    close) "$close_request" "$id" ;;
    click-middle)
      w=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
      h=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
      xdotool mousemove --window "$id" $((w / 2)) $((h - 20)) click 1
      ;;
    *)
      xdotool windowfocus --sync "$id"
      xdotool key --delay 50 "$@"
      ;;
  esac
  finish_probe
  if [ "$got" = "$expected" ]; then
    echo "ok ($what): $got"
  else
    fail "$what: expected $expected, got '$got'"
    cat "$work/err" >&2
  fi
}

# Our own box: the letters answer at once, the focus starts on Yes and moves both ways
# (wrapping), Return and Space press the focused button.
for case in "1 y" "0 n" "-1 c" "0 alt+n" "1 shift+y" "-1 Escape" "1 Return" "1 space" \
  "0 Tab Return" "-1 Tab Tab space" "1 Tab Tab Tab Return" "-1 shift+Tab Return" \
  "0 Right Return" "0 Right Right Left Return" "-1 Left space" "0 Down Return" \
  "0 click-middle"; do
  # shellcheck disable=SC2086
  answer own $case
done
[ -n "$close_request" ] && answer own -1 close

# What our box asks of the window manager (above the others, a dialog, a fixed size, the
# close protocol), its icon (blue information for serious 0, a yellow warning otherwise) and
# its focus ring (Tab changes the picture).
for serious in 0 1; do
  before=$failures
  start own "$serious" || { fail "own: no box for the property checks"; continue; }
  props=$(xprop -id "$id")
  for property in '_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_ABOVE' 'WM_PROTOCOLS.*WM_DELETE_WINDOW' \
    '_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_DIALOG'; do
    echo "$props" | grep -q "$property" || fail "own: no $property"
  done
  min=$(echo "$props" | sed -n 's/.*minimum size: \(.*\)$/\1/p')
  [ -n "$min" ] && echo "$props" | grep -q "maximum size: $min\$" || fail "own: size not fixed"
  import -window "$id" "$work/before.png"
  colours=$(convert "$work/before.png" -crop 32x32+14+14 -unique-colors txt:- |
    grep -oiE '#(2A6FC9|F2C511)' | tr -d '\n')
  [ "$colours" = "$([ "$serious" = 0 ] && echo '#2A6FC9' || echo '#F2C511')" ] ||
    fail "own: serious $serious: icon colours '$colours'"
  xdotool windowfocus --sync "$id"
  xdotool key Tab
  changed() {
    import -window "$id" "$work/after.png"
    [ "$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1)" != 0 ]
  }
  poll 50 changed || fail "own: Tab left the picture unchanged"
  xdotool key Escape
  finish_probe
  [ "$got" = -1 ] || fail "own: Escape gave '$got'"
  [ "$failures" = "$before" ] && echo "ok (own, serious $serious: window manager hints, icon, ring)"
done

# The desktop's dialog: its mnemonics need Alt (GTK), the focus starts on Yes without a
# visible ring, Tab goes through the text first, Left and Shift+Tab move to No.
if command -v zenity >/dev/null; then
  for case in "1 alt+y" "0 alt+n" "-1 alt+c" "-1 Escape" "1 Return" "1 space" \
    "0 Left Return" "-1 Left Left space" "0 shift+Tab Return" "0 Tab Tab Tab Return" \
    "0 click-middle"; do
    # shellcheck disable=SC2086
    answer zenity $case
  done
  [ -n "$close_request" ] && answer zenity -1 close
else
  echo "zenity is not installed: the desktop's dialog is not tested" >&2
fi

# Asked while a window of the program has the focus, the box belongs to that window.
for box in own zenity; do
  [ "$box" = zenity ] && ! command -v zenity >/dev/null && continue
  what="$box: owned"
  before=$failures
  if start "$box" owned; then
    transient=$(xprop -id "$id" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
    [ "$((${transient:-0}))" = "$((owner))" ] || fail "$box: owned by '$transient', not $owner"
    xdotool windowfocus --sync "$id"
    xdotool key Escape
  else
    fail "$box: no box over the owner window"
  fi
  finish_probe
  [ "$got" = -1 ] || fail "$box: Escape over the owner window gave '$got'"
  [ "$failures" = "$before" ] && echo "ok ($box: owned by the focused window)"
done

# SDL's box answers only Return and Escape from the keyboard.
answer sdl 1 Return
answer sdl -1 Escape
answer sdl 0 click-middle

[ "$failures" -eq 0 ]
