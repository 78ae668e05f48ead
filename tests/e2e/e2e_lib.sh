# shellcheck shell=bash
# Shared parts of the end-to-end sessions: finding the program's windows on the X display,
# answering its question box from the keyboard, reading screenshots and the sound SDL's disk
# driver records.
# Sourced by the *_test.sh scripts beside it, which run under xvfb-run.

title="VOK Music Collection #1"
golden="$(cd "$(dirname "${BASH_SOURCE[0]}")/../app/golden" && pwd)"
work="$(mktemp -d)"
# Screenshots stay for a person to look at when E2E_KEEP names a folder.
keep="${E2E_KEEP:-}"
failures=0
pid=""

cleanup() {
  [[ -n "$pid" ]] && kill -9 "$pid" 2>/dev/null
  [[ -n "$keep" ]] && mkdir -p "$keep" && cp "$work"/*.png "$work"/*.raw "$keep"/ 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...: passes when the command succeeds
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  if ((failures)); then
    if [[ -s "$work/stderr" ]]; then
      echo "--- the program's standard error (last 60 lines):"
      tail -n 60 "$work/stderr"
    fi
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# "id width height x y" of each window named with the title.
titled_windows() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" |
    sed -E 's/^ *(0x[0-9a-f]+) .*: \([^)]*\) +([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4 \5/'
}

# wait_window AWK_CONDITION SECONDS: prints the id of the first titled window whose
# "id width height x y" fields ($1..$5) meet the condition.
wait_window() {
  local id
  for ((i = 0; i < $2 * 10; i++)); do
    id="$(titled_windows | awk "$1 {print \$1; exit}")"
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# start_program PROGRAM [VAR=VALUE...]: starts it in the background with the sound recorded
# to $work/sound.raw (SDL's disk driver), sets pid.
start_program() {
  local program="$1"
  shift
  env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" "$@" "$program" \
    2>>"$work/stderr" &
  pid=$!
}

# box_kind WINDOW: "zenity" for the desktop's dialog, "own" for the program's own box.
box_kind() {
  case "$(xprop -id "$1" WM_CLASS 2>/dev/null)" in
    *'"Zenity"'*) echo zenity ;;
    *'"QuestionBox"'*) echo own ;;
    *) echo other ;;
  esac
}

# answer_box yes|no|cancel|escape: waits for the question box and answers it as a keyboard
# user would, with keys typed through the X server: the button's underlined letter (with
# Alt in the desktop's dialog, whose letters need it) or Escape. Sets box_shown to the
# kind of box that asked.
answer_box() {
  local box key
  box="$(wait_window '!($2 == 800 && $3 == 600) && $2 < 700' 20)" || {
    fail "no question box within 20 s"
    return 1
  }
  for ((i = 0; i < 100; i++)); do
    xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && break
    sleep 0.1
  done
  box_shown="$(box_kind "$box")"
  case "$1" in
    yes) key=y ;;
    no) key=n ;;
    cancel) key=c ;;
    escape) key=Escape ;;
  esac
  [[ "$box_shown" == zenity && "$key" != Escape ]] && key="alt+$key"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key "$key"
}

# The box a session expects: on an X display, our own.
expected_box() { echo own; }

# press KEY...: gives the program's window the focus and types through the X server, as a
# keyboard would (XTEST), not as events sent to one window.
press() {
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --delay 60 "$@"
}

# start_other_program: another program's window (xmessage), to take the focus from the disk
# as Alt+Tab would; sets other (its pid) and other_win (its window), or fails.
start_other_program() {
  xmessage -title "Another program" -geometry +0+0 "another program" &
  other=$!
  other_win=""
  for ((i = 0; i < 50; i++)); do
    other_win=$(xwininfo -root -tree 2>/dev/null | grep -F '"Another program"' | awk '{print $1}' |
      head -n 1)
    [[ -n "$other_win" ]] && return 0
    sleep 0.1
  done
  fail "the other program's window did not appear"
  return 1
}
stop_other_program() {
  kill "$other" 2>/dev/null
  wait "$other" 2>/dev/null
}

# wait_exit SECONDS: waits for the program to end; sets rc to its exit code or "timeout".
wait_exit() {
  for ((i = 0; i < $1 * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      rc=$?
      pid=""
      return 0
    fi
    sleep 0.1
  done
  rc=timeout
}

# shot NAME [WINDOW]: a screenshot of the window (default: the whole screen) as $work/NAME.png.
shot() {
  import -window "${2:-root}" "$work/$1.png" 2>/dev/null
}

# wait_screen NAME SECONDS TEST [ARGS...]: takes screenshots of the program's window as
# $work/NAME.png until `TEST $work/NAME.png ARGS...` succeeds; false when it never does.
wait_screen() {
  local name="$1" limit="$2"
  shift 2
  for ((i = 0; i < limit * 5; i++)); do
    shot "$name" "$win"
    "$1" "$work/$name.png" "${@:2}" && return 0
    sleep 0.2
  done
  return 1
}

# wait_brief_screen NAME SECONDS TEST [ARGS...]: as wait_screen, for a picture that stays
# only a moment (the loading screen: one second). Encoding and testing each screenshot before
# the next can take longer than that on a busy machine, so the window is first grabbed raw
# as fast as the X server gives it (at most 80 grabs in SECONDS), then the grabs are tested.
wait_brief_screen() {
  local name="$1" limit="$2" n=0 i
  shift 2
  local end=$((SECONDS + limit))
  while ((SECONDS < end && n < 80)); do
    xwd -silent -id "$win" >"$work/$name.$n.xwd" 2>/dev/null && ((n++))
    sleep 0.02
  done
  for ((i = 0; i < n; i++)); do
    convert "xwd:$work/$name.$i.xwd" "$work/$name.png" 2>/dev/null &&
      "$1" "$work/$name.png" "${@:2}" && break
  done
  rm -f "$work/$name".*.xwd
  ((i < n))
}

# Pixels of the rectangle W x H at X, Y of IMAGE that are near white (panel text), or near
# black (the key legend) with "dark".
count_pixels() {  # count_pixels IMAGE X Y W H [dark]
  local threshold=(-threshold 86%)
  [[ "${6:-}" == dark ]] && threshold=(-negate -threshold 80%)
  convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray "${threshold[@]}" \
    -format "%[fx:round(mean*w*h)]" info:
}

# Pixels that differ between the near-white (or near-black, "dark") masks of the same
# rectangle of two images; a screenshot region can first be scaled to picture pixels with
# SCALE (a percentage, e.g. 55.5556).
mask_difference() {  # mask_difference A B X Y W H [dark]
  local threshold=(-threshold 86%)
  [[ "${7:-}" == dark ]] && threshold=(-negate -threshold 80%)
  convert "$1" -crop "$5x$6+$3+$4" +repage -colorspace gray "${threshold[@]}" "$work/mask_a.png"
  convert "$2" -crop "$5x$6+$3+$4" +repage -colorspace gray "${threshold[@]}" "$work/mask_b.png"
  compare -metric AE "$work/mask_a.png" "$work/mask_b.png" null: 2>&1 | awk '{print int($1)}'
}

# The size of the recorded sound in bytes.
sound_size() { stat -c %s "$work/sound.raw" 2>/dev/null || echo 0; }

# sound_map FROM TO: the recording between two byte offsets, one character per 1/20 s:
# "_" silence, "#" sound. Shown when a check of the sound fails.
sound_map() {
  tail -c +$(($1 + 1)) "$work/sound.raw" | head -c $(($2 - $1)) | od -An -v -tx4 -w17640 |
    awk '{ silent = 1; for (i = 1; i <= NF; i++) if ($i != "00000000") { silent = 0; break }
           printf "%s", silent ? "_" : "#" } END { print "" }'
}

# sounding_since BYTES: true when something was recorded after BYTES and it is not all zero.
sounding_since() {
  local size
  size=$(sound_size)
  ((size > $1)) || { echo "nothing recorded after byte $1"; return 1; }
  # Counts the bytes left once the zero ones are dropped, so that a read cut short can only
  # make it find less sound, never more.
  (($(tail -c +$(($1 + 1)) "$work/sound.raw" | head -c $((size - $1)) | tr -d '\0' |
    head -c 1 | wc -c) > 0)) && return 0
  echo "recorded after byte $1: silence only"
  return 1
}

# wait_sound SECONDS BYTES: true once something not silent was recorded after BYTES.
wait_sound() {
  for ((i = 0; i < $1 * 10; i++)); do
    sounding_since "$2" >/dev/null && return 0
    sleep 0.1
  done
  sounding_since "$2"
}
# wait_silence SECONDS BYTES: true once the recording after BYTES holds half a second of
# silence.
wait_silence() {
  for ((i = 0; i < $1 * 10; i++)); do
    [[ "$(sound_map "$2" "$(sound_size)")" == *__________* ]] && return 0
    sleep 0.1
  done
  echo "recorded after byte $2: $(sound_map "$2" "$(sound_size)")"
  return 1
}

# showing_disk IMAGE: the disk's frame with its key legend where it belongs (1:1), not the
# loading screen.
showing_disk() {
  (($(mask_difference "$1" "$golden/track_list.png" 25 170 270 130 dark) < 150))
}
