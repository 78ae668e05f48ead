#!/usr/bin/env bash
# The disk's keys on other keyboard layouts, typed through the X server (run under xvfb-run
# with a 1024x768 screen): on AZERTY and on Dvorak the key that types a letter is that letter,
# whatever key sits there on a US keyboard; and a function key held while another program
# takes the focus and gives it back changes the track only once.
#   keyboard_session_test.sh MUSICDISK     (needs setxkbmap)
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"
program="$1"
trap 'setxkbmap us 2>/dev/null; cleanup' EXIT

start_program "$program"
answer_box no
if ! win="$(wait_window '$2 == 800 && $3 == 600' 20)"; then
  fail "no 800x600 window after No"
  finish
fi
# The panel's white text against the golden credits and track list.
shows_credits() { (($(mask_difference "$1" "$golden/credits.png" 340 125 300 190) < 120)); }
shows_track_list() { (($(mask_difference "$1" "$golden/track_list.png" 340 125 300 190) < 120)); }
check "the track list shows" wait_screen start 8 shows_track_list

# --- 1. AZERTY: C and M are where the French keyboard has them. -------------------------------
setxkbmap fr
press c
check "AZERTY: the key that types C shows the credits" wait_screen fr_credits 6 shows_credits
# The key where a US keyboard has M types a comma here: the credits stay, unfaded. A panel key
# would start the fade at once, so a second of frames without one shows it did nothing.
press comma
stays_credits=1
for ((n = 0; n < 5; n++)); do
  shot fr_comma "$win"
  shows_credits "$work/fr_comma.png" || stays_credits=0
  sleep 0.2
done
check "AZERTY: the key in the US M position leaves the credits shown" test "$stays_credits" = 1
press m
check "AZERTY: the key that types M brings the track list back" \
  wait_screen fr_list 6 shows_track_list

# --- 2. Dvorak: C sits where US has I, which would show the music information. ---------------
setxkbmap us dvorak
press c
check "Dvorak: the key that types C shows the credits" wait_screen dv_credits 6 shows_credits
press m
check "Dvorak: M brings the track list back" wait_screen dv_list 6 shows_track_list
setxkbmap us

# --- 3. F3 held while another program has the focus: one track change. ----------------------
is_loading_screen() {
  (($(compare -metric AE -fuzz 6% "$1" "$golden/loading_screen.png" null: 2>&1 |
    awk '{print int($1)}') < 4000))
}
not_loading_screen() { ! is_loading_screen "$1"; }
mark=$(sound_size)
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool keydown F3
check "F3 shows the loading screen" wait_brief_screen loading 4 is_loading_screen
check "the loading screen ends" wait_screen loaded 6 not_loading_screen
if start_other_program; then
  xdotool windowfocus --sync "$other_win" 2>/dev/null
  xdotool windowfocus --sync "$win" 2>/dev/null
  # Held on: the server's auto-repeat sends F3 again now that the disk has the focus. A second
  # track change would show the loading screen within the second.
  if wait_brief_screen reload 2 is_loading_screen; then fail "F3 held over the focus switch loaded again"; fi
  xdotool keyup F3
  stop_other_program
fi
# A key pressed after the release is handled after anything F3 caused, so once the credits
# show, the recording holds every silence a track change made: one second of loading each.
press c
check "C after the release shows the credits" wait_screen credits 8 shows_credits
loads="$(sound_map "$mark" "$(sound_size)" | grep -oE '_{14,}' | wc -l)"
check "F3 held across the focus switch changed the track once (loads: $loads)" test "$loads" = 1

# --- 4. A key pressed as the focus comes back is a press, though still down when looked at.
if start_other_program; then
  xdotool windowfocus --sync "$other_win" 2>/dev/null
  # In one go, so that M is down before the program has even looked at the focus change.
  xdotool windowfocus --sync "$win" keydown m 2>/dev/null
  check "M pressed as the disk gets the focus back shows the track list" \
    wait_screen back_list 8 shows_track_list
  xdotool keyup m
  stop_other_program
fi

press Escape
wait_exit 10
check "Escape exits 0 (got $rc)" test "$rc" = 0
finish
