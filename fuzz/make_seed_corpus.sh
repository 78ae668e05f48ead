#!/bin/sh
# Remakes the seed corpora under fuzz/corpus/: the Python part for pictures, fonts and URLs,
# and two very short tracks (MP3 with an ID3v2 tag, Ogg Vorbis) made with sox, lame, oggenc.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/make_seed_corpus.py"
audio="$here/corpus/audio_decoder"
mkdir -p "$audio"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -n -r 44100 -c 2 -b 16 "$tmp/tone.wav" synth 0.05 sine 440 vol 0.5
lame --quiet -b 32 "$tmp/tone.wav" "$audio/tone.mp3"
lame --quiet -b 32 --id3v2-only --tt seed "$tmp/tone.wav" "$audio/tone_id3v2.mp3"
sox -n -r 22050 -c 1 -b 16 "$tmp/mono.wav" synth 0.05 sine 220
lame --quiet -b 8 "$tmp/mono.wav" "$audio/mono_22k.mp3"
oggenc --quiet -q 0 -o "$audio/tone.ogg" "$tmp/tone.wav"
