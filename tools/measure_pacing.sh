#!/usr/bin/env bash
# Measures the music disk's frame pacing on a virtual X display: the whole program (the
# frame_log_probe build of it) runs windowed and logs the time of every frame it hands to the
# window system; after the start-up the script takes SECONDS of that log and reports frames
# per second, the median, 99th percentile and longest interval between presented frames, and
# the CPU time the program used. With --minimised it then hides the window the way a window
# manager minimises one (the window is unmapped): nothing is presented then, so it reports
# the same figures for the frame loop's flips.
#
# With --fullscreen it answers Yes instead and measures full screen on a 1920x1080 screen.
# With --no-output the sound goes to /dev/full through SDL's disk driver: the output is lost
# at once and again after every reopen, so the figures show what a lost output costs the
# frame loop.
#
#   tools/measure_pacing.sh [--fullscreen] [--minimised] [--no-output] [--seconds N] PROBE
#     PROBE  build/<preset>/tests/e2e/frame_log_probe
#
# Needs xvfb-run, xdotool and xwininfo. The sound goes to SDL's dummy driver.
set -euo pipefail

minimised=0
fullscreen=0
no_output=0
seconds=10
while (($#)); do
  case "$1" in
    --minimised) minimised=1; shift ;;
    --fullscreen) fullscreen=1; shift ;;
    --no-output) no_output=1; shift ;;
    --seconds) seconds="$2"; shift 2 ;;
    *) break ;;
  esac
done
probe="$(realpath "${1:?usage: measure_pacing.sh [--fullscreen] [--minimised] [--no-output] [--seconds N] PROBE}")"

if [[ -z "${DISPLAY:-}" ]]; then
  screen=1024x768
  ((fullscreen)) && screen=1920x1080
  args=(--seconds "$seconds")
  ((minimised)) && args+=(--minimised)
  ((fullscreen)) && args+=(--fullscreen)
  ((no_output)) && args+=(--no-output)
  exec xvfb-run -a -s "-screen 0 ${screen}x24" "$0" "${args[@]}" "$probe"
fi
mode=windowed
((fullscreen)) && mode="full screen"

title="VOK Music Collection #1"
work="$(mktemp -d)"
pid=""
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

titled_window() {  # titled_window AWK_CONDITION_ON_WIDTH_HEIGHT: prints the first match's id
  xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" |
    sed -E 's/^ *(0x[0-9a-f]+) .*: \([^)]*\) +([0-9]+)x([0-9]+).*/\1 \2 \3/' |
    awk "$1 {print \$1; exit}"
}
wait_for() {  # wait_for AWK_CONDITION SECONDS
  local id
  for ((i = 0; i < $2 * 10; i++)); do
    id="$(titled_window "$1")"
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window ($1) within $2 s" >&2
  return 1
}

# report FIRST LAST KIND WHAT: interval statistics of the KIND lines ("present" or "flip")
# among log lines FIRST..LAST (1-based).
report() {
  sed -n "$1,$2p" "$work/flips" | awk -v kind="$3" '$1 == kind {print $2}' | awk -v what="$4" '
    NR > 1 { gap[n++] = ($1 - last) / 1000.0 }
    { if (NR == 1) first = $1; last = $1 }
    END {
      if (n < 2) { print what ": too few frames"; exit 1 }
      # Insertion into sorted order is fine for a few thousand intervals.
      for (i = 1; i < n; i++) { v = gap[i]; j = i - 1; while (j >= 0 && gap[j] > v) { gap[j + 1] = gap[j]; j-- } gap[j + 1] = v }
      p99 = gap[int(0.99 * (n - 1) + 0.5)]
      printf "%s: %d frames in %.3f s = %.2f fps; interval median %.2f ms, p99 %.2f ms, max %.2f ms\n",
             what, n, (last - first) / 1e6, n / ((last - first) / 1e6), gap[int(n / 2)], p99, gap[n - 1]
    }'
}

sound=(SDL_AUDIODRIVER=dummy)
((no_output)) && sound=(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/full)
env FRAME_LOG="$work/flips" "${sound[@]}" "$probe" 2>"$work/stderr" &
pid=$!
box="$(wait_for '!($2 == 800 && $3 == 600)' 20)"
# Answered from the keyboard: Alt+Y or Alt+N answer the desktop's dialog and our own box.
for ((i = 0; i < 100; i++)); do
  xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && break
  sleep 0.1
done
xdotool windowfocus --sync "$box" 2>/dev/null
if ((fullscreen)); then
  xdotool key alt+y
  win="$(wait_for '$2 == 800 && $3 == 600' 20)"
  # No window manager here to give the full-screen window the screen: do its part.
  read -r screen_w screen_h < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
  xdotool windowmove "$win" 0 0 windowsize "$win" "$screen_w" "$screen_h"
else
  xdotool key alt+n
  win="$(wait_for '$2 == 800 && $3 == 600' 20)"
fi
sleep 3  # past the first track's loading screen

# measure KIND WHAT: frame statistics and CPU time of the next $seconds seconds.
measure() {
  local start end cpu_before cpu_after
  cpu_before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  start=$(($(wc -l <"$work/flips") + 1))
  sleep "$seconds"
  end=$(wc -l <"$work/flips")
  cpu_after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  report "$start" "$end" "$1" "$2"
  awk -v t="$((cpu_after - cpu_before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$2" \
    'BEGIN { printf "%s: CPU %.2f s in %d s = %.1f%% of one core\n", what, t / hz, s, 100 * t / hz / s }'
}

measure present "$mode, shown (presented frames)"
if ((minimised)); then
  xdotool windowunmap --sync "$win"
  sleep 1
  measure flip "$mode, hidden (flips)"
  kill -0 "$pid" || { echo "the program ended while hidden" >&2; exit 1; }
  xdotool windowmap --sync "$win"
  sleep 0.5
fi

xdotool windowfocus --sync "$win" 2>/dev/null || true
xdotool key --window "$win" Escape
for ((i = 0; i < 100; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid" && rc=0 || rc=$?
pid=""
[[ $rc == 0 ]] || { echo "the program ended with $rc" >&2; cat "$work/stderr" >&2; exit 1; }
