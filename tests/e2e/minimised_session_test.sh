#!/usr/bin/env bash
# The music disk minimised (run under xvfb-run with a 1024x768 screen): the window is unmapped,
# as a window manager does when it minimises one; the music must play on, frames must stay
# paced at 60 a second (the loop must not spin), and the picture must come back when the
# window is shown again. Runs the frame_log_probe build of the program, which logs the time
# of every flip of its frame loop.
#   minimised_session_test.sh FRAME_LOG_PROBE
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"
program="$1"
seconds=3

lines() { wc -l <"$work/flips"; }
# Flips a second among log lines after $1, by their own time stamps (microseconds).
flip_rate() {
  tail -n +$(($1 + 1)) "$work/flips" | awk '$1 == "flip" { if (!n++) first = $2; last = $2 }
    END { print (n > 1 && last > first) ? int((n - 1) * 1e6 / (last - first) + 0.5) : 0 }'
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }

start_program "$program" FRAME_LOG="$work/flips"
answer_box no
if ! win="$(wait_window '$2 == 800 && $3 == 600' 20)"; then
  fail "no 800x600 window after No"
  finish
fi
sleep 2.5

before=$(lines)
sleep "$seconds"
echo "shown: $(flip_rate "$before") flips a second"

xdotool windowunmap --sync "$win"
sleep 0.5
before=$(lines)
ticks=$(cpu_ticks)
mark=$(sound_size)
sleep "$seconds"
hidden_rate=$(flip_rate "$before")
ticks=$(($(cpu_ticks) - ticks))
cpu_percent=$((100 * ticks / $(getconf CLK_TCK) / seconds))
echo "hidden: $hidden_rate flips a second, ${cpu_percent}% of one core"
check "the music plays on while minimised" sounding_since "$mark"
# Paced by the clock: never more than 60 a second (a loop that spins makes thousands), and
# still going (the music's frame loop keeps running).
check "minimised, frames stay paced ($hidden_rate a second)" \
  test "$hidden_rate" -le 61 -a "$hidden_rate" -ge 20
# Nothing is drawn for a hidden window; a spinning or still-drawing loop takes far more.
check "minimised, it uses little CPU (${cpu_percent}% of one core)" test "$cpu_percent" -lt 40

xdotool windowmap --sync "$win"
check "shown again, the picture is back" wait_screen restored 10 showing_disk
press Escape
wait_exit 10
check "Escape exits 0 (got $rc)" test "$rc" = 0
finish
