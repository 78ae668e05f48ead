#!/usr/bin/env bash
# Renders the disk's music with musicgen, encodes it into assets/sound/ and draws a
# spectrogram of each encoded track into docs/spectrograms/.
#
#   tools/make_music.sh [build-dir | path/to/musicgen]      (default: build/release)
#
# Builds the musicgen target first if given a build directory (configuring it as a
# release build if it has never been configured). Every step is deterministic: two runs
# write byte-identical files. Needs lame, oggenc (vorbis-tools) and sox; with ffmpeg
# installed it also measures each file's loudness and true peak and fails if one is off
# target. musicgen itself fails a track that stays below -24 LUFS short-term for more
# than 8 s or repeats more than 8 bars exactly, which stops this script. MUSIC_OUT and
# SPECTROGRAM_OUT send the files elsewhere, for trying changes without touching the
# committed ones.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${MUSIC_OUT:-$root/assets/sound}"
pictures="${SPECTROGRAM_OUT:-$root/docs/spectrograms}"

say() { printf '==> %s\n' "$*"; }
die() { printf 'make_music.sh: %s\n' "$*" >&2; exit 1; }

for tool in lame oggenc sox; do
  command -v "$tool" >/dev/null || die "'$tool' is missing (Debian: apt-get install lame vorbis-tools sox)"
done
# lame converts tag text through the locale: a C locale would cut "Gløw" down to "Gl".
export LC_ALL=C.UTF-8

default_build="$root/build/release"
target="${1:-$default_build}"
if [[ -f "$target" ]]; then
  [[ -x "$target" ]] || die "$target is not executable"
  musicgen="$target"
else
  if [[ ! -f "$target/CMakeCache.txt" ]]; then
    say "Configuring a release build in $target"
    if [[ "$target" == "$default_build" ]]; then
      (cd "$root" && cmake --preset release >/dev/null)
    else
      cmake -S "$root" -B "$target" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
  fi
  say "Building musicgen in $target"
  cmake --build "$target" --target musicgen
  musicgen="$target/tools/musicgen/musicgen"
fi
[[ -x "$musicgen" ]] || die "no musicgen binary at $musicgen"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$pictures"

render() {  # render <song-id>: writes $work/<song-id>.wav
  say "Rendering $1"
  nice -n 10 "$musicgen" "$1" "$work/$1.wav"
}

# VBR around 165 kbit/s. No -t: the Info frame stays, and with it the exact gapless length.
lame_args=(--quiet -V 4 --noreplaygain)

render VorWIP2
say "Encoding VorWIP2.mp3 with an ID3v2.2 tag"
lame "${lame_args[@]}" "$work/VorWIP2.wav" "$work/VorWIP2.untagged.mp3"
"$musicgen" id3v22 "$work/VorWIP2.untagged.mp3" "$out/VorWIP2.mp3" --title "Vortek 3" --artist "Ravenfel"

render basswobbler
say "Encoding 'fennick - basswobbler.mp3' with an ID3v2.3 tag"
lame "${lame_args[@]}" --id3v2-only --tt "BassWobbler" --ta "Fennick" \
  "$work/basswobbler.wav" "$out/fennick - basswobbler.mp3"

render nova
say "Encoding 01.mp3 without a tag"
lame "${lame_args[@]}" "$work/nova.wav" "$out/01.mp3"

render nova2
say "Encoding 03.mp3 without a tag"
lame "${lame_args[@]}" "$work/nova2.wav" "$out/03.mp3"

render glow
say "Encoding 'fennick - glw.mp3' with an ID3v2.3 tag (ISO-8859-1 title)"
lame "${lame_args[@]}" --id3v2-only --id3v2-latin1 --tt "Gløw" --ta "Fennick" \
  "$work/glow.wav" "$out/fennick - glw.mp3"
# The title must have kept its ø (0xF8 in ISO-8859-1).
printf 'Gl\xf8w' >"$work/title"
LC_ALL=C grep -qF -f "$work/title" "$out/fennick - glw.mp3" || die "the Gløw title did not survive tagging"

render music
say "Encoding music.ogg"
# A fixed stream serial number: oggenc picks a random one otherwise.
oggenc --quiet -q 4 -s 12345 -o "$out/music.ogg" "$work/music.wav"

say "Checking the results"
check() {  # check <file> <decoded wav>
  local stats
  stats="$(sox "$2" -n stat 2>&1)"
  printf '  %-28s %8d bytes  %7.2f s  peak %s\n' "$(basename "$1")" "$(stat -c %s "$1")" \
    "$(awk '/Length/ {print $3}' <<<"$stats")" "$(awk '/Maximum amplitude/ {a=$3} /Minimum amplitude/ {b=-$3} END {print (a>b?a:b)}' <<<"$stats")"
  if command -v ffmpeg >/dev/null; then
    # Integrated loudness and true peak as the broadcast meter reads them.
    local summary loudness peak
    summary="$(ffmpeg -nostats -hide_banner -i "$1" -filter_complex ebur128=peak=true -f null - 2>&1 |
      sed -n '/Summary:/,$p')"
    # (ffmpeg may print the summary more than once; the last one covers the whole file.)
    loudness="$(awk '$1 == "I:" {v = $2} END {print v}' <<<"$summary")"
    peak="$(awk '$1 == "Peak:" {v = $2} END {print v}' <<<"$summary")"
    printf '  %-28s %8s LUFS integrated, %s dBTP true peak\n' "" "$loudness" "$peak"
    awk -v l="$loudness" -v p="$peak" 'BEGIN {exit !(l >= -15 && l <= -13 && p <= -1)}' ||
      die "$(basename "$1") is off target (-14 +/- 1 LUFS, true peak at most -1 dBTP)"
  fi
}
# A picture of each track over the full band (0 to 22.05 kHz) for checking its
# arrangement at a glance.
spectrogram() {  # spectrogram <decoded wav> <title> <png>
  sox "$1" -n remix - spectrogram -x 800 -y 300 -z 90 -t "$2" \
    -c "spectrogram of the encoded file" -o "$3"
}
tracks=("VorWIP2.mp3" "fennick - basswobbler.mp3" "01.mp3" "03.mp3" "fennick - glw.mp3")
titles=("Vortek 3" "BassWobbler" "Nova" "Nova 2" "Glow")
pictures_names=("vortek3" "basswobbler" "nova" "nova2" "glow")
for i in "${!tracks[@]}"; do
  f="${tracks[$i]}"
  lame --quiet --decode "$out/$f" "$work/decoded.wav" || die "$f does not decode"
  check "$out/$f" "$work/decoded.wav"
  spectrogram "$work/decoded.wav" "${titles[$i]}" "$pictures/${pictures_names[$i]}.png"
done
sox "$out/music.ogg" "$work/decoded.wav" || die "music.ogg does not decode"
check "$out/music.ogg" "$work/decoded.wav"
say "Done: $out, spectrograms in $pictures"
