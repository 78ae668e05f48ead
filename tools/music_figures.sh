#!/usr/bin/env bash
# Prints what a listener replaying the disk's tracks notices, measured on the committed
# files with ffmpeg's loudness meter: loudness range, the longest stretch below -24 LUFS
# short-term (the first 3 s read low while the meter's window fills), the level below
# 150 Hz (the bass the letters follow); then how much of Nova its remix plays again.
# The longest exact repetition is printed by musicgen with every render.
#   tools/music_figures.sh [path/to/musicgen]      (default: build/release's)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
musicgen="${1:-$root/build/release/tools/musicgen/musicgen}"
for f in "$root"/assets/sound/*.mp3; do
  meter="$(ffmpeg -nostats -hide_banner -i "$f" -filter_complex ebur128 -f null - 2>&1)"
  awk -v name="$(basename "$f")" '
    / S:/ { for (i = 1; i <= NF; i++) if ($i == "S:") s = $(i + 1)
            run = s < -24 ? run + 1 : 0; if (run > best) best = run }
    $1 == "LRA:" { lra = $2 }
    END { printf "%-28s LRA %4.1f LU, longest below -24 LUFS %4.1f s", name, lra, best / 10 }' \
    <<<"$meter"
  ffmpeg -nostats -hide_banner -loglevel error -i "$f" -ac 1 \
    -af lowpass=f=150:poles=2,lowpass=f=150:poles=2 -f wav - |
    sox -t wav - -n stats 2>&1 | awk '/RMS lev dB/ {printf ", below 150 Hz %s dBFS RMS\n", $4}'
done
"$musicgen" twins nova nova2
