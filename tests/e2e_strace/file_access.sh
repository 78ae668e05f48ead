#!/usr/bin/env bash
# The program reads no file of its own and writes none: everything it shows and plays is
# inside it. Runs it under strace on a virtual display (run under xvfb-run) with SDL's dummy
# sound driver, twice: Escape in the question box; then "No" (N, a window), two seconds of
# the disk, Escape. (Were the desktop's dialog to ask, it would be another program, whose own
# opens are left out.) Fails on any open by the program's process
# of a file other than what the system libraries read (shared libraries, /dev, /proc, /sys,
# locale, fonts, X11 and GL configuration, the X authority file) and on any open for writing
# or creating.
#   file_access.sh <musicdisk>    (needs strace, xdotool, xwininfo)
set -uo pipefail
program="$(realpath "$1")"
title="VOK Music Collection #1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

window_of() {  # window_of <awk condition on width/height> <seconds>
  for ((i = 0; i < $2 * 10; i++)); do
    id="$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" |
      sed -E 's/^ *(0x[0-9a-f]+) .*: \([^)]*\) +([0-9]+)x([0-9]+).*/\1 \2 \3/' |
      awk "$1 {print \$1; exit}")"
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Paths the system's libraries may read, as extended regular expressions.
allowed='^(/etc/ld\.so\.(cache|preload)|/(usr/)?lib(32|64|x32)?/.*|/dev(/.*)?|/proc/.*|/sys/.*'
allowed+='|/usr/share/(X11|locale|i18n|fonts|glvnd|drirc\.d|egl|vulkan|alsa|zoneinfo|icons)(/.*)?'
allowed+='|/etc/(fonts|X11|glvnd|drirc|alsa|localtime|machine-id|nsswitch\.conf|passwd)(/.*)?'
allowed+='|/usr/local/share/fonts/.*|/var/cache/fontconfig/.*|/var/lib/dbus/machine-id'
allowed+='|'"${HOME:-/root}"'/\.(Xauthority|XCompose|fonts|fontconfig|drirc|cache/fontconfig|local/share/fonts)(/.*)?'
allowed+='|/tmp/\.X11-unix/.*|/tmp/xvfb-run\.[^/]+/Xauthority'
allowed+='|'"${XAUTHORITY:-/nonexistent}"')$'

# The GL driver (Mesa) keeps compiled shaders in the user's cache folder: the driver's own
# cache, like fontconfig's, not a file of the program. It is reported, not failed.
driver_cache='^('"${XDG_CACHE_HOME:-${HOME:-/root}/.cache}"'/mesa_shader_cache(_db)?/.*)$'

# The processes (and their threads) that the program started and that then ran another
# program: the desktop's dialog. Their pids, one a line.
helper_pids() {  # helper_pids <strace output>
  awk -v program="$program" '
    { pid = $1 }
    /(clone3?|v?fork)\(/ || /<\.\.\. (clone3?|v?fork) resumed>/ {
      if (match($0, /= [0-9]+$/)) parent[substr($0, RSTART + 2)] = pid
    }
    /execve\("/ && !/= -1 / { split($0, q, "\""); if (q[2] != program) helper[pid] = 1 }
    END {
      for (p in parent) {
        a = p
        while (!(a in helper) && (a in parent)) a = parent[a]
        if (a in helper) print p
      }
      for (h in helper) print h
    }' "$1" | sort -u
}

check_trace() {  # check_trace <label> <strace output>
  local label="$1" log="$2" opens bad writes helpers
  helpers="$(helper_pids "$log" | paste -sd '|')"
  if [[ -n "$helpers" ]]; then
    echo "note: $label: the desktop's dialog ran as processes $helpers; their opens are its own"
    grep -vE "^($helpers) " "$log" >"${log%.trace}.own.trace"
    log="${log%.trace}.own.trace"
  fi
  # Every successful open, create or openat: its path and flags.
  opens="$(grep -E '(open|openat|creat)\(' "$log" | grep -v '= -1 ' |
    sed -nE 's/.*(open|openat|creat)\((AT_FDCWD, |[0-9]+, )?"([^"]*)", ([A-Z_|]+).*/\3 \4/p')"
  if [[ -z "$opens" ]]; then
    echo "FAIL: $label: strace recorded no opens at all"; failures=$((failures + 1)); return
  fi
  local cache
  cache="$(grep -cE "$driver_cache" <<<"$opens")"
  [[ "$cache" != 0 ]] && echo "note: $label: $cache opens in the GL driver's shader cache"
  opens="$(awk '{print}' <<<"$opens" | grep -vE "^${driver_cache:1:-1} ")"
  writes="$(awk '$2 ~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC/ && $1 !~ /^\/dev\/(null|tty|dri\/|snd\/|shm\/)/' <<<"$opens")"
  bad="$(awk '{print $1}' <<<"$opens" | grep -vE "$allowed" | sort -u)"
  if [[ -n "$writes" ]]; then
    echo "FAIL: $label: opened for writing:"; sed 's/^/  /' <<<"$writes" | sort -u
    failures=$((failures + 1))
  fi
  if [[ -n "$bad" ]]; then
    echo "FAIL: $label: opened files of its own:"; sed 's/^/  /' <<<"$bad"
    failures=$((failures + 1))
  fi
  [[ -z "$writes" && -z "$bad" ]] &&
    echo "ok: $label: $(wc -l <<<"$opens") opens, all of system files, none for writing"
}

run_session() {  # run_session <label> <PATH for the program> <keys after the box...>
  local label="$1" path="$2"; shift 2
  local log="$work/$label.trace"
  # The processes it starts are traced too (-f), with what they run, to tell them apart.
  (cd "$work" && PATH="$path" SDL_AUDIODRIVER=dummy exec "$strace" -f -qq \
     -e trace=open,openat,creat,execve,clone,clone3,fork,vfork -o "$log" "$program") \
    2>"$work/$label.err" &
  local pid=$!
  local box
  if ! box="$(window_of '!($2 == 800 && $3 == 600)' 30)"; then
    echo "FAIL: $label: no question box"; failures=$((failures + 1))
    kill "$pid" 2>/dev/null; wait "$pid"; sed 's/^/  /' "$work/$label.err" | tail -5; return
  fi
  for ((i = 0; i < 100; i++)); do
    xwininfo -id "$box" 2>/dev/null | grep -q IsViewable && break
    sleep 0.1
  done
  # Typed through the X server, as a keyboard would.
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key "$@"
  if [[ "$label" == window ]]; then
    if main="$(window_of '$2 == 800 && $3 == 600' 20)"; then
      sleep 2
      xdotool windowfocus --sync "$main" 2>/dev/null
      xdotool key Escape
    else
      echo "FAIL: $label: no main window"; failures=$((failures + 1))
    fi
  fi
  for ((i = 0; i < 200; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"; echo "FAIL: $label: did not end"; failures=$((failures + 1))
  fi
  wait "$pid"
  local rc=$?
  if [[ "$rc" != 0 ]]; then
    echo "FAIL: $label: exit $rc"; sed 's/^/  /' "$work/$label.err" | tail -5
    failures=$((failures + 1))
  fi
  # Nothing appeared in the working folder either.
  if [[ -n "$(find "$work" -mindepth 1 -not -name '*.trace' -not -name '*.err')" ]]; then
    echo "FAIL: $label: files appeared in the working folder"; failures=$((failures + 1))
  fi
  check_trace "$label" "$log"
}

strace="$(command -v strace)"
run_session question "$PATH" Escape
run_session window "$PATH" n
exit $((failures > 0))
