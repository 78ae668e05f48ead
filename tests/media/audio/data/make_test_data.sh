#!/bin/sh
# Makes the small sound files the audio tests decode. Needs sox, lame and oggenc.
# Both tones hold a whole number of periods in 3 s, so a looping stream of them is a seamless
# sine when the loop is sample-exact.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# 3 s, 44.1 kHz: 440 Hz left, 660 Hz right, at half scale.
sox -n -r 44100 -c 2 -b 16 "$tmp/stereo.wav" synth 3 sine 440 sine 660 gain -6
# 3 s, 44.1 kHz mono 440 Hz, for the Ogg Vorbis side.
sox -n -r 44100 -c 1 -b 16 "$tmp/mono.wav" synth 3 sine 440 gain -6
# LAME keeps its Info frame (encoder delay and padding) and writes no tag by default.
lame --quiet -b 64 --resample 44.1 "$tmp/stereo.wav" tone_3s_stereo.mp3
oggenc --quiet -q 0 -o tone_3s_mono.ogg "$tmp/mono.wav"
# mono_stereo_mono_frames.mp3 is not made here: it is a damaged file found by fuzz/fuzz_audio_decoder, kept as it was.
