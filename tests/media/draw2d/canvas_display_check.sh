#!/bin/sh
# Runs the display probe on the current X display and checks a screenshot of the whole
# screen: the picture's middle shows the clear colour 177, 142, 130 and its white square sits
# in the picture's top-left corner. A window is centred at 1:1; full screen scales the
# picture to the screen's height, centred between black bars.
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
if [ "$depth" != 0 ]; then
  # Scaled by a fraction, pixels stay sharp: the square's right edge is one clean step from
  # white to the clear colour, with no blended column between (plain filtering blends one).
  edge=$(at "$left" 100)
  expect $(( edge - 1 )) "$(at "$top" 50)" "#FFFFFF" "the square's last column, scaled"
  expect "$edge" "$(at "$top" 50)" "#B18E82" "the first column right of the square, scaled"
fi
exit $failures
