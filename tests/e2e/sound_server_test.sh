#!/usr/bin/env bash
# The disk playing through a real sound server, as on a desktop (run under xvfb-run): a
# PulseAudio server of its own with a null sink, SDL's pulseaudio driver, and what the sink
# plays recorded from its monitor. The music is heard; Space fades it to silence and back
# without a step; a restart of the sound server is survived, the music going on from where
# it was.
#   sound_server_test.sh MUSICDISK     (needs pulseaudio, pactl, parec and mpg123)
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"
program="$1"
pulse="$work/pulse"
mkdir -p "$pulse"
server=""
recorder=""
trap 'kill "$recorder" "$server" 2>/dev/null; [[ -n "${E2E_KEEP:-}" ]] && cp "$work/sound.raw" "$E2E_KEEP/"; cleanup' EXIT
export PULSE_SERVER="unix:$pulse/native"

# start_server: a server with one null sink at the disk's rate, for anonymous clients.
start_server() {
  XDG_RUNTIME_DIR="$pulse" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --log-target=stderr \
    -L "module-null-sink sink_name=heard rate=44100 format=float32le" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse/native" \
    2>>"$work/pulse.log" &
  server=$!
  for ((i = 0; i < 100; i++)); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "the sound server did not start"
  return 1
}
# start_recording: appends what the sink plays to $work/sound.raw (float stereo, 44.1 kHz).
start_recording() {
  parec -d heard.monitor --format=float32le --rate=44100 --channels=2 --latency-msec=10 \
    >>"$work/sound.raw" 2>>"$work/pulse.log" &
  recorder=$!
}
# wait_recorded BYTES SECONDS: until the recording holds BYTES more than now.
wait_recorded() {
  local target=$(($(sound_size) + $1))
  for ((i = 0; i < $2 * 20; i++)); do
    (($(sound_size) >= target)) && return 0
    sleep 0.05
  done
  return 1
}
# first_sound_after BYTES: the byte offset of the first sample after BYTES that is not zero.
first_sound_after() {
  tail -c +$(($1 + 1)) "$work/sound.raw" | od -An -v -tx4 -w4 |
    awk -v base="$1" '$1 != "00000000" { print base + 4 * (NR - 1); exit }'
}
# pause_edges FROM: the samples where the recording after byte FROM first turns to silence
# for a quarter of a second (the pause; an underrun of the server's is far shorter) and
# where it next turns back to sound: the last sample before the silence and the first one
# after it, and the median step of the music before it.
pause_edges() {
  tail -c +$(($1 + 1)) "$work/sound.raw" |
    python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
s = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])
run, before = 0, None
for i, v in enumerate(s):
    if v == 0.0:
        run += 1
        if run == 22050 and before is None and i >= 22050:
            edge = i - 22050
            before = abs(s[edge])
            steps = sorted(abs(s[k] - s[k - 2]) for k in range(max(2, edge - 22050), edge - 1000, 2))
            music = steps[len(steps) // 2] if steps else 0.0
    else:
        if run >= 22050 and before is not None:
            print("%.4f %.4f %.4f" % (before, abs(v), music))
            break
        run = 0'
}

start_server || finish
start_recording
env SDL_AUDIODRIVER=pulseaudio "$program" 2>>"$work/stderr" &
pid=$!
answer_box no
if ! win="$(wait_window '$2 == 800 && $3 == 600' 20)"; then
  fail "no 800x600 window after No"
  finish
fi
check "the disk is shown" wait_screen start 10 showing_disk
mark=$(sound_size)
wait_recorded $((8 * 44100)) 10
check "the sink plays the music" sounding_since "$mark"

# --- Space and Space again: silence and the music back, faded at both edges. ---------------
mark=$(sound_size)
press space
wait_recorded $((8 * 44100)) 10
silence="$(sound_map "$mark" "$(sound_size)" | grep -c '__________')"
check "Space silences the sink" test "$silence" -ge 1
press space
wait_recorded $((8 * 44100)) 10
check "Space again brings the music back" sounding_since $(($(sound_size) - 8 * 22050))
read -r stop_edge start_edge music_step <<<"$(pause_edges "$mark")"
# A cut leaves the waveform's value at that instant, many times the music's own steps from
# one sample to the next (here the median step of the quarter second before the pause).
check "no step where the sound stops (${stop_edge:-none}) or starts (${start_edge:-none}) \
beyond the music's own (median ${music_step:-none})" \
  awk -v a="${stop_edge:-1}" -v b="${start_edge:-1}" -v m="${music_step:-0}" \
  'BEGIN { exit !(a <= 2 * m && b <= 2 * m) }'

# --- The sound server restarts: the music is heard again, from where it was. -----------------
before_restart=$(sound_size)
kill "$recorder" "$server" 2>/dev/null
wait "$recorder" "$server" 2>/dev/null
sleep 1  # a second without a server, so that music going on unheard would show
start_server || finish
# The disk is back on the new server once its stream shows up there.
up=$(date +%s%N)
for ((i = 0; i < 200; i++)); do
  [[ -n "$(pactl list short sink-inputs 2>/dev/null)" ]] && break
  sleep 0.05
done
back_ms=$((($(date +%s%N) - up) / 1000000))
check "the disk plays on the new server within two seconds of it answering (${back_ms} ms)" \
  test "$back_ms" -le 2000
mark=$(sound_size)
start_recording
wait_recorded $((8 * 44100)) 10
check "after the sound server restarts the music is heard again" sounding_since "$mark"
# The sink plays the decoded track bit for bit, so each recorded stretch is found in it; the
# track position just before the restart and just after it differ by what was in the
# buffers when the server went, not by the second without one.
track="$(dirname "$0")/../../assets/sound/VorWIP2.mp3"
mpg123 -q -e f32 -s "$track" 2>/dev/null | head -c $((30 * 44100 * 8)) >"$work/track.raw"
skipped="$(python3 - "$work/track.raw" "$work/sound.raw" "$before_restart" <<'PY'
import struct, sys
def floats(path):
    data = open(path, "rb").read()
    return struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])
track, heard, cut = floats(sys.argv[1]), floats(sys.argv[2]), int(sys.argv[3]) // 4
where = {}
for i in range(0, len(track) - 8, 2):
    where.setdefault(track[i:i + 8:2], i // 2)
def found(samples):  # (recorded frame, track frame) of every 10 ms stretch found in the track
    for j in range(0, len(heard) - 8, 882):
        if j in samples and any(heard[j:j + 8:2]) and heard[j:j + 8:2] in where:
            yield j // 2, where[heard[j:j + 8:2]]
before = [m for m in found(range(0, cut)) ]
after = [m for m in found(range(cut, len(heard)))]
if before and after:
    (r0, t0), (r1, t1) = before[-1], after[0]
    print("%.3f" % (((t1 - t0) - (r1 - r0)) / 44100))
PY
)"
check "the music goes on from where it was (${skipped:-not found} s of it skipped)" \
  awk -v s="${skipped:-9}" 'BEGIN { exit !(s >= 0 && s < 0.2) }'

press Escape
wait_exit 10
check "Escape exits 0 (got $rc)" test "$rc" = 0
check "nothing on standard error" test ! -s "$work/stderr"
finish
