#!/bin/sh
# Runs the display probe on the current X display and checks a screenshot of the whole
# screen: the picture's middle shows the clear colour 177, 142, 130 and its white square sits
# in the picture's top-left corner. A window is centred at 1:1; full screen scales the
# picture to the screen's height, centred between black bars. The GL driver draws at the
# screen's resolution, the software driver enlarges its 800 x 600 frame: the probe's bar,
# 100.5 wide, shows which.
# Usage (under xvfb-run): canvas_display_check.sh PROBE gl|soft 0|32
set -eu
probe=$1
driver=$2
depth=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$probe" "$driver" "$depth" 5 >"$work/driver" &
pid=$!
tries=0
while [ ! -s "$work/driver" ] && [ $tries -lt 100 ]; do
  sleep 0.1
  tries=$((tries + 1))
done
size=$(xdpyinfo 2>/dev/null | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
if [ "$depth" != 0 ]; then
  # A bare X server has no window manager to give a full-screen window the whole screen;
  # do its part, as every desktop does.
  xdotool search --sync --name "Display probe" windowmove 0 0 windowsize ${size% *} ${size#* } \
    >/dev/null
fi
sleep 1.5
import -window root "$work/shot.png"
wait $pid

got=$(cat "$work/driver")
if [ "$got" != "$driver" ]; then
  echo "the probe drew with the '$got' driver, not '$driver'" >&2
  exit 1
fi

screen_w=${size% *}
screen_h=${size#* }
if [ "$depth" = 0 ]; then
  scale_num=1 scale_den=1
  left=$(( (screen_w - 800) / 2 ))
  top=$(( (screen_h - 600) / 2 ))
else
  # Screens wider than 4:3: the picture is as high as the screen.
  scale_num=$screen_h scale_den=600
  left=$(( (screen_w - 800 * screen_h / 600) / 2 ))
  top=0
fi

failures=0
expect() {  # expect X Y #RRGGBB what
  pixel=$(convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1)
  case "$pixel" in
    *"$3"*) echo "ok: $4 at $1,$2" ;;
    *) echo "FAIL: $4 at $1,$2 should be $3: $pixel" >&2; failures=$((failures + 1)) ;;
  esac
}
at() { echo $(( $1 + $2 * scale_num / scale_den )); }  # screen coordinate of picture coordinate

expect "$(at "$left" 400)" "$(at "$top" 300)" "#B18E82" "the clear colour in the middle"
expect "$(at "$left" 5)" "$(at "$top" 5)" "#FFFFFF" "the square's top-left"
expect "$(at "$left" 95)" "$(at "$top" 95)" "#FFFFFF" "the square's bottom-right"
expect "$(at "$left" 105)" "$(at "$top" 5)" "#B18E82" "the clear colour right of the square"
if [ "$depth" != 0 ] && [ "$left" -gt 2 ]; then
  expect $(( left / 2 )) $(( screen_h / 2 )) "#000000" "the bar left of the picture"
fi
# Scaled, edges stay sharp: the square's right edge, picture x 100, is one clean step from
# white to the clear colour, with no blended column between.
edge=$(at "$left" 100)
expect $(( edge - 1 )) "$(at "$top" 50)" "#FFFFFF" "the square's last column"
expect "$edge" "$(at "$top" 50)" "#B18E82" "the first column right of the square"
# The bar's right edge is picture x 100.5, the centre of picture column 100, which the fill
# leaves out. Drawn at the screen's resolution the bar takes every screen column whose
# centre lies left of 100.5 times the scale; an enlarged picture ends it with column 99.
bar_y=$(at "$top" 105)
if [ "$driver" = gl ]; then
  # The first screen column whose centre is at or right of 100.5 * scale_num / scale_den.
  bar_end=$(( left + (201 * scale_num - scale_den + 2 * scale_den - 1) / (2 * scale_den) ))
else
  bar_end=$edge
fi
expect $(( bar_end - 1 )) "$bar_y" "#FFFFFF" "the bar's last column"
expect "$bar_end" "$bar_y" "#B18E82" "the first column right of the bar"
exit $failures
