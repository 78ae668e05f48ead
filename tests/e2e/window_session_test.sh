#!/usr/bin/env bash
# The music disk in a window, used as a person would on an X display (run under xvfb-run
# with a 1024x768 screen): the question box (the desktop's dialog where zenity is
# installed) answered from the keyboard, keys typed through the X server, the screen read
# from screenshots and the sound from SDL's disk driver.
#   window_session_test.sh MUSICDISK CLOSE_REQUEST
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"
program="$1"
close_request="$2"

# --- 0. Cancel and Escape in the question box end the program (a window would keep it). ------
for answer in cancel escape; do
  start_program "$program"
  answer_box "$answer"
  check "the box that asks is the $(expected_box) one (got $box_shown)" test "$box_shown" = "$(expected_box)"
  wait_exit 10
  check "$answer in the question box exits 0 (got $rc)" test "$rc" = 0
done

# --- 1. No: an 800x600 window in the middle of the screen, the first track playing. ---------
start_program "$program"
answer_box no
if ! win="$(wait_window '$2 == 800 && $3 == 600' 20)"; then
  fail "no 800x600 window after No"
  finish
fi
read -r _ w h x y <<<"$(titled_windows | grep "^$win ")"
check "the window is 800x600 in the middle of the screen (at $x,$y)" \
  test "$w $h $x $y" = "800 600 112 84"
# The "*" before track N's line (its glyph spans y 167..177 for track 1).
marker() { count_pixels "$1" 318 $((164 + 24 * ($2 - 1))) 26 18; }
# IMAGE shows the disk's frame (not the loading screen) with track N marked.
track_marked() { showing_disk "$1" && (($(marker "$1" "$2") > 8)) && (($(marker "$1" $((3 - $2))) == 0)); }
is_loading_screen() {
  (($(compare -metric AE -fuzz 6% "$1" "$golden/loading_screen.png" null: 2>&1 | awk '{print int($1)}') < 4000))
}
check "the key legend shows at 1:1 and track 1 is marked" wait_screen start 8 track_marked 1
check "the music plays" wait_sound 10 "$(sound_size)"

# --- 2. F2: the loading screen, then track 2 marked. ------------------------------------------
press F2
check "F2 shows the loading screen" wait_brief_screen loading 4 is_loading_screen
check "after loading, track 2 is marked" wait_screen track2 6 track_marked 2
check "track 2 plays" wait_sound 10 "$(sound_size)"

# --- 3. C: the track list fades out and the credits fade in. --------------------------------
press c
shows_credits() { (($(mask_difference "$1" "$golden/credits.png" 340 125 300 190) < 120)); }
check "C shows the credits" wait_screen credits 6 shows_credits

# --- 4. Another program takes the focus and gives it back: the music never stops. -------------
if start_other_program; then
  xdotool windowfocus --sync "$other_win" 2>/dev/null
  check "the music plays on while another program has the focus" wait_sound 10 "$(sound_size)"
  press i  # back to the disk: its keys work again
  # "Music Information" is wider than "Credits": white pixels where the credits had none.
  shows_info() { (($(count_pixels "$1" 450 130 180 30) > 40)); }
  check "back in the disk, I shows the music information" wait_screen info 6 shows_info
  stop_other_program
fi

# --- 5. Space pauses all sound and resumes it. -------------------------------------------------
mark=$(sound_size)
press space
check "Space pauses: the output records silence" wait_silence 10 "$mark"
# Paused, the recording holds only silence from here on; any sound after it is the resume.
mark=$(sound_size)
press space
check "Space again resumes the music" wait_sound 10 "$mark"

# --- 6. Escape ends the program with exit code 0. ----------------------------------------------
press Escape
wait_exit 10
check "Escape exits 0 (got $rc)" test "$rc" = 0

# --- 7. The window's close box (a window manager's close request) ends it with exit 0. -------
start_program "$program"
answer_box no
if win="$(wait_window '$2 == 800 && $3 == 600' 20)"; then
  sleep 1.5
  "$close_request" "$win"
  wait_exit 10
  check "the close request exits 0 (got $rc)" test "$rc" = 0
else
  fail "no window in the close-request session"
fi

# --- 8. Alt+F4 where no window manager takes it: the same. -------------------------------------
start_program "$program"
answer_box no
if win="$(wait_window '$2 == 800 && $3 == 600' 20)"; then
  sleep 1.5
  press alt+F4
  wait_exit 10
  check "Alt+F4 exits 0 (got $rc)" test "$rc" = 0
else
  fail "no window in the Alt+F4 session"
fi
finish
