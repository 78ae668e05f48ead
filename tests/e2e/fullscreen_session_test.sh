#!/usr/bin/env bash
# The music disk full screen on a 16:9 desktop (run under xvfb-run with a 1920x1080 screen):
# "Yes" by Return in the question box; the desktop keeps its mode and the 800x600 picture is
# scaled to the screen's height, centred between black bars; another program taking the focus
# and giving it back leaves it playing; Escape ends it with exit code 0.
#   fullscreen_session_test.sh MUSICDISK
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"
program="$1"

read -r screen_w screen_h < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
start_program "$program"
answer_box yes
if ! win="$(wait_window '$2 >= 700' 20)"; then
  fail "no display window after Yes"
  finish
fi
# A bare X server has no window manager to give a full-screen window the whole screen; do its
# part, as every desktop does. The program must follow the new size on its own.
xdotool windowmove "$win" 0 0 windowsize "$win" "$screen_w" "$screen_h"

# The picture: as high as the screen, 4:3, in the middle.
pic_h=$screen_h
pic_w=$((800 * screen_h / 600))
left=$(((screen_w - pic_w) / 2))
right=$((left + pic_w))

check_screen() {  # check_screen NAME: the letterbox and the picture in screenshot NAME
  local name="$1" max
  shot "$name"
  max=$(convert "$work/$name.png" -crop "$((left - 1))x${screen_h}+0+0" +repage -format "%[max]" info:)
  check "$name: the bar left of the picture is black" test "$max" = 0
  max=$(convert "$work/$name.png" -crop "$((screen_w - right - 1))x${screen_h}+$((right + 1))+0" \
    +repage -format "%[max]" info:)
  check "$name: the bar right of the picture is black" test "$max" = 0
  # The picture scaled back to 800x600 matches the disk's own frame where nothing moves: the
  # key legend, and the pad's edge at x 309.
  convert "$work/$name.png" -crop "${pic_w}x${pic_h}+${left}+0" +repage -resize 800x600! \
    "$work/$name-picture.png"
  check "$name: the picture fills the screen's height, scaled uniformly and centred" \
    test "$(mask_difference "$work/$name-picture.png" "$golden/track_list.png" 25 170 270 130 dark)" \
    -lt 300
  check "$name: the picture's left and right edges are not black" \
    test "$(convert "$work/$name.png" -crop "4x${screen_h}+${left}+0" +repage -format "%[fx:mean>0.2]" info:)" = 1 \
    -a "$(convert "$work/$name.png" -crop "4x${screen_h}+$((right - 4))+0" +repage -format "%[fx:mean>0.2]" info:)" = 1
}
# picture_shown NAME: a screenshot of the whole screen whose picture, scaled back, shows the
# disk's key legend (past the first loading screen and the panel's fade-in).
picture_shown() {
  shot "$1"
  convert "$work/$1.png" -crop "${pic_w}x${pic_h}+${left}+0" +repage -resize 800x600! \
    "$work/$1-picture.png"
  (($(mask_difference "$work/$1-picture.png" "$golden/track_list.png" 25 170 270 130 dark) < 300))
}
wait_picture() {
  for ((i = 0; i < 100; i++)); do picture_shown "$1" && return 0; sleep 0.1; done
  return 1
}
wait_picture fullscreen
check_screen fullscreen

# Another program takes the focus (Alt+Tab) and gives it back.
if start_other_program; then
  xdotool windowfocus --sync "$other_win" 2>/dev/null
  check "the music plays on while another program has the focus" wait_sound 10 "$(sound_size)"
  stop_other_program
  xdotool windowfocus --sync "$win" 2>/dev/null
  wait_picture refocused
  check_screen refocused
fi

press Escape
wait_exit 10
check "Escape exits 0 (got $rc)" test "$rc" = 0
finish
