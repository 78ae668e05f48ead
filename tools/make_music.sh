#!/usr/bin/env bash
# Renders the disk's music with musicgen and encodes it into assets/sound/.
#
#   tools/make_music.sh [build-dir | path/to/musicgen]      (default: build/release)
#
# Builds the musicgen target first if given a build directory (configuring it as a
# release build if it has never been configured). Every step is deterministic: two runs
# write byte-identical files. Needs lame, oggenc (vorbis-tools) and sox.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/assets/sound"

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
mkdir -p "$out"

render() {  # render <song-id>: writes $work/<song-id>.wav
  say "Rendering $1"
  "$musicgen" "$1" "$work/$1.wav"
}

# VBR around 190 kbit/s. No -t: the Info frame stays, and with it the exact gapless length.
lame_args=(--quiet -V 2 --noreplaygain)

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
  printf '  %-32s %8d bytes  %6.2f s  peak %s\n' "$(basename "$1")" "$(stat -c %s "$1")" \
    "$(awk '/Length/ {print $3}' <<<"$stats")" "$(awk '/Maximum amplitude/ {a=$3} /Minimum amplitude/ {b=-$3} END {print (a>b?a:b)}' <<<"$stats")"
}
for f in "VorWIP2.mp3" "fennick - basswobbler.mp3" "01.mp3" "03.mp3" "fennick - glw.mp3"; do
  lame --quiet --decode "$out/$f" "$work/decoded.wav" || die "$f does not decode"
  check "$out/$f" "$work/decoded.wav"
done
sox "$out/music.ogg" "$work/decoded.wav" || die "music.ogg does not decode"
check "$out/music.ogg" "$work/decoded.wav"
say "Done: $out"
