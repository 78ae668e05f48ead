#!/usr/bin/env bash
# Measures the music disk and writes docs/PERFORMANCE.md: every figure with the command that
# repeats it. Needs a release build with the benchmarks (Google Benchmark), mpg123, xvfb-run,
# xdotool, xwininfo, and ffplay for the side-by-side CPU figure.
#   tools/measure_performance.sh [build folder, default build/release]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$root/build/release}")"
out="$root/docs/PERFORMANCE.md"
track="$root/assets/sound/01.mp3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

json_cpu() {  # json_cpu <benchmark json> <name> -> cpu_time of the median (or the only run)
  python3 - "$1" "$2" <<'PY'
import json, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b["name"].startswith(sys.argv[2])]
median = [b for b in runs if b.get("aggregate_name") == "median"]
b = (median or runs)[0]
print(f'{b["cpu_time"]:.3f} {b["time_unit"]}')
PY
}

echo "== audio: the engine against mpg123 on $(basename "$track")"
MUSICDISK_BENCH_TRACK="$track" "$build/bench/audio/bench_audio" --benchmark_repetitions=5 \
  --benchmark_format=json >"$work/audio.json" 2>/dev/null
engine="$(json_cpu "$work/audio.json" BM_PullWholeTrackWithSpectrum)"
decoder="$(json_cpu "$work/audio.json" BM_DecodeWholeTrack)"
mpg=()
for i in 1 2 3 4 5; do
  /usr/bin/time -f "%U %S" -o "$work/mpg.time" mpg123 -q -t "$track"
  mpg+=("$(awk '{printf "%.0f", ($1 + $2) * 1000}' "$work/mpg.time")")
done
mpg_ms="$(printf '%s\n' "${mpg[@]}" | sort -n | sed -n 3p)"
engine_ms="${engine%% *}"
ratio="$(awk -v e="$engine_ms" -v m="$mpg_ms" 'BEGIN {printf "%.2f", e / m}')"

echo "== drawing: one disk-shaped frame with the software driver"
"$build/bench/draw2d/bench_draw2d" --benchmark_repetitions=5 --benchmark_format=json \
  >"$work/draw.json" 2>/dev/null
soft="$(json_cpu "$work/draw.json" BM_SoftDriverDiskFrame)"

echo "== heap allocations per steady-state frame (the whole program in the test harness)"
allocs="$("$build/tests/app/app_test" --gtest_filter='SteadyFrames.PlayingThe*' 2>&1 |
  sed -nE 's/^allocations in 600 playing frames: ([0-9]+).*/\1/p')"
allocs_per_frame="$(awk -v a="${allocs:-nan}" 'BEGIN {printf "%.3f", a / 600}')"

echo "== the program under Xvfb: start-up, peak memory, CPU beside ffplay"
cat >"$work/session.sh" <<SH
#!/usr/bin/env bash
title="VOK Music Collection #1"
win() { xwininfo -root -tree 2>/dev/null | grep -F "\"\$title\"" |
  sed -E 's/^ *(0x[0-9a-f]+) .*: \([^)]*\) +([0-9]+)x([0-9]+).*/\1 \2 \3/' | awk "\$1 {print \\\$1; exit}"; }
now() { date +%s%N; }
t0=\$(now)
SDL_AUDIODRIVER=dummy /usr/bin/time -f "%M" -o "$work/rss" "$build/musicdisk" 2>/dev/null &
tpid=\$!
until box=\$(win '!(\$2 == 800 && \$3 == 600)'); [ -n "\$box" ]; do sleep 0.01; done
t1=\$(now)
xdotool key --window "\$box" Tab Return
t2=\$(now)
until main=\$(win '\$2 == 800 && \$3 == 600'); [ -n "\$main" ]; do sleep 0.01; done
t3=\$(now)
echo "\$(( (t1 - t0) / 1000000 )) \$(( (t3 - t2) / 1000000 ))" > "$work/startup"
pid=\$(pgrep -o -P \$tpid -x musicdisk)
SDL_AUDIODRIVER=dummy ffplay -loglevel quiet -showmode 1 -x 800 -y 600 "$track" &
fpid=\$!
sleep 2
cpu() { awk '{print \$14 + \$15}' /proc/\$1/stat; }
a=\$(cpu \$pid); b=\$(cpu \$fpid); sleep 20; c=\$(cpu \$pid); d=\$(cpu \$fpid)
tick=\$(getconf CLK_TCK)
echo "\$(( (c - a) * 1000 / tick / 20 )) \$(( (d - b) * 1000 / tick / 20 ))" > "$work/cpu"
kill \$fpid
xdotool key --window "\$main" Escape
wait
SH
chmod +x "$work/session.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/session.sh" >/dev/null 2>&1
read -r to_box to_frame <"$work/startup"
read -r cpu_disk cpu_ffplay <"$work/cpu"
rss_kb="$(tail -n 1 "$work/rss")"

cat >"$out" <<MD
# Performance

Measured by \`tools/measure_performance.sh\` on $(date -u +%Y-%m-%d), $(nproc) CPU(s):
$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'). Release build
(\`cmake --preset release && cmake --build --preset release\`). Figures are medians of five
runs where the command repeats; the machine was shared, so treat small differences as noise.

| what | goal | measured | repeat with |
|---|---|---|---|
| engine: whole track pulled 735 frames at a time with a spectrum fetch per frame ($(basename "$track")) | ≤ 1.1 × mpg123 | $engine CPU = ${ratio} × mpg123 | \`MUSICDISK_BENCH_TRACK=$track build/release/bench/audio/bench_audio --benchmark_filter=Pull\` |
| the bare decoder, same track | (floor) | $decoder CPU | same, \`--benchmark_filter=Decode\` |
| \`mpg123 -q -t\`, same track | (reference) | ${mpg_ms} ms user+sys | \`/usr/bin/time -f "%U %S" mpg123 -q -t $track\` |
| software driver, one disk-shaped 800×600 frame | ≤ 2 ms | $soft CPU | \`build/release/bench/draw2d/bench_draw2d\` |
| heap allocations per steady-state frame (whole program, main thread, operator new) | 0 | ${allocs:-not measured} in 600 frames (${allocs_per_frame} per frame) | \`build/release/tests/app/app_test --gtest_filter='SteadyFrames.*'\` |
| start to question box (Xvfb) | | ${to_box} ms | this script |
| answer to main window (Xvfb, GL under Mesa) | | ${to_frame} ms | this script |
| peak RSS of the program (whole session) | | $((rss_kb / 1024)) MiB | this script (\`/usr/bin/time -f %M\`) |
| CPU of the playing disk under Xvfb (20 s) | | ${cpu_disk} ms/s | this script |
| CPU of \`ffplay -showmode 1\` on the same track, same run | | ${cpu_ffplay} ms/s | this script |

Reading the figures: the engine's cost over its own bare decoder is what resampling, mixing
and the per-frame spectrum add ($engine against $decoder); the decoder alone is
libmpg123 at the same work as \`mpg123 -t\`. The program's CPU under Xvfb is the GL
driver drawing on Mesa's software rasteriser (llvmpipe): on a machine without a GPU, the
display is drawn by the CPU, which ffplay's small wave view does not need.

Not measured yet: the GL driver offscreen for comparison (\`SDL_VIDEODRIVER=offscreen\`), and
frame logic with draw-call issue on a recording driver (goal ≤ 20 µs).
MD
echo "wrote $out"
cat "$out"
