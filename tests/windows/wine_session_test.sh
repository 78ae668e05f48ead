#!/usr/bin/env bash
# The Windows program under Wine on a virtual X server (run under xvfb-run with a 1024x768
# screen), used as a person would: the system's question box answered with its letter key,
# keys typed through the X server, the screen read from screenshots and compared with what the
# Linux program draws, the sound from SDL's disk driver. The program is the one in the zip,
# unpacked into a scratch folder and run in a fresh Wine prefix with nothing else installed.
#   wine_session_test.sh ZIP CMAKE gl|software
# "gl" runs every session; "software" (the program's own renderer, presented through GDI)
# the first one, without the loading screen: Wine puts a GDI-drawn frame on the X server
# only when the program next takes its messages, which it does not while it waits out the
# loading second; Windows shows such a frame at once.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
zip="$1"
renderer="$3"
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && "$2" -E tar xf "$zip") || { fail "the zip does not unpack"; finish; }
exe="$work/unpacked/$(basename "$zip" .zip)/musicdisk.exe"
export MUSICDISK_RENDERER="$renderer"
wine_run="$here/../../tools/windows/wine_run.sh"

export WINEPREFIX="$work/wine-prefix"
"$wine_run" --prepare || { fail "no Wine prefix could be made"; finish; }
# The program as start_program runs it; SDL on Windows takes the recording's path as a
# Windows one, Z: being Wine's drive for the Unix root.
printf '#!/bin/sh\ncd "%s" && exec "%s" musicdisk.exe\n' "$(dirname "$exe")" "$wine_run" >"$work/disk"
chmod +x "$work/disk"
start_disk() { start_program "$work/disk" "SDL_DISKAUDIOFILE=Z:$work/sound.raw" "$@"; }

# answer_with KEYS...: waits for the question box, gives it the focus (with no window manager
# Wine takes keys only then) and types the keys.
answer_with() {
  local box
  box="$(wait_window '!($2 == 800 && $3 == 600) && $2 < 700' 30)" || {
    fail "no question box within 30 s"
    return 1
  }
  sleep 0.3  # let it draw and reach its message loop
  shot box
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key --delay 60 "$@"
}

# The "*" before track N's line and the checks of the Linux session (tests/e2e).
marker() { count_pixels "$1" 318 $((164 + 24 * ($2 - 1))) 26 18; }
track_marked() { showing_disk "$1" && (($(marker "$1" "$2") > 8)) && (($(marker "$1" $((3 - $2))) == 0)); }
is_loading_screen() {
  (($(compare -metric AE -fuzz 6% "$1" "$golden/loading_screen.png" null: 2>&1 | awk '{print int($1)}') < 4000))
}
# The still parts of the frame as the Linux program draws them: the background, the logo and
# the stars below the bobbing letters, and the track list's text once faded in.
same_still_parts() {
  local lower list
  convert "$1" -crop 800x210+0+390 +repage "$work/lower_a.png"
  convert "$golden/track_list.png" -crop 800x210+0+390 +repage "$work/lower_b.png"
  lower=$(compare -metric AE -fuzz 6% "$work/lower_a.png" "$work/lower_b.png" null: 2>&1 |
    awk '{print int($1)}')
  list=$(mask_difference "$1" "$golden/track_list.png" 340 150 460 120)
  echo "pixels unlike the Linux frame: $lower below the letters, $list in the track list"
  ((lower < 500 && list < 150))
}

# --- 1. The box, answered N: the 800x600 window with the Linux program's picture. ------------
start_disk
answer_with n
if ! win="$(wait_window '$2 == 800 && $3 == 600' 30)"; then
  fail "no 800x600 window after N"
  finish
fi
read -r _ w h x y <<<"$(titled_windows | grep "^$win ")"
check "N gives an 800x600 window in the middle of the screen (at $x,$y)" \
  test "$w $h $x $y" = "800 600 112 84"
check "the key legend shows at 1:1 and track 1 is marked" wait_screen start 10 track_marked 1
check "the picture matches the Linux program's" wait_screen still 6 same_still_parts
check "the music plays" wait_sound 10 "$(sound_size)"

# --- 2. F2: the loading screen, then track 2 marked. ------------------------------------------
press F2
[[ "$renderer" == gl ]] && check "F2 shows the loading screen" wait_brief_screen loading 4 is_loading_screen
check "after loading, track 2 is marked" wait_screen track2 8 track_marked 2

# --- 3. Space pauses all sound and resumes it. -------------------------------------------------
# What was mixed before the key reaches the recording after it, so the check waits for half a
# second of silence rather than for silence from the key on.
mark=$(sound_size)
press space
check "Space pauses: the output records silence" wait_silence 10 "$mark"
# Paused, the recording holds only silence from here on; any sound after it is the resume.
mark=$(sound_size)
press space
check "Space again resumes the music" wait_sound 10 "$mark"

# --- 4. Escape ends the program with exit code 0. ----------------------------------------------
press Escape
wait_exit 15
check "Escape exits 0 (got $rc)" test "$rc" = 0
[[ "$renderer" == gl ]] || finish

# --- 5. Alt+F4 (Windows' close request, as the close box gives) ends it with exit 0. ---------
start_disk
answer_with n
if win="$(wait_window '$2 == 800 && $3 == 600' 30)"; then
  sleep 1.5
  press alt+F4
  wait_exit 15
  check "Alt+F4 exits 0 (got $rc)" test "$rc" = 0
else
  fail "no window in the Alt+F4 session"
fi

# --- 6. Cancel in the box (Escape) ends it with exit 0 before any window opens. ---------------
start_disk
answer_with Escape
wait_exit 15
check "Cancel in the box exits 0 (got $rc)" test "$rc" = 0
check "no window opened after Cancel" test -z "$(titled_windows)"

# --- 7. No sound output at all (Wine without its audio drivers): exit 0 at once, no window, ----
# the reason in the debugger output (Wine's "seh" channel shows it) and on standard error.
saw_window=""
env -u SDL_AUDIODRIVER WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=d" \
  WINEDEBUG=-all,warn+seh "$wine_run" "$exe" 2>"$work/nosound.err" &
pid=$!
for ((i = 0; i < 150; i++)); do
  kill -0 "$pid" 2>/dev/null || break
  [[ -n "$(titled_windows)" ]] && saw_window=yes
  sleep 0.1
done
wait_exit 5
check "with no sound output it exits 0 (got $rc)" test "$rc" = 0
check "with no sound output no window or box appears" test -z "$saw_window"
check "with no sound output it says why in the debugger output" \
  grep -q "OutputDebugString.*Can't initialize output device" "$work/nosound.err"
check "with no sound output it says why on standard error" \
  grep -q "^Can't initialize output device" "$work/nosound.err"
finish
