#!/usr/bin/env bash
# Sets the music disk up on a Debian or Ubuntu machine and then plays it or tests it.
#
#   ./setup.sh run    install missing packages, build the release program, start it
#   ./setup.sh test   install missing packages, build, run every test
#
# Run it as root or as a user who may use sudo (only the package installation needs it).
# Both commands can be repeated: they install only what is missing and rebuild only what
# changed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

say() { printf '\033[1m==> %s\033[0m\n' "$*"; }
die() { printf '\033[1;31msetup.sh: %s\033[0m\n' "$*" >&2; exit 1; }

usage() {
  sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
}

mode="${1:-}"
[[ "$mode" == run || "$mode" == test ]] || usage

# What building needs, and what the tests need on top (a virtual X server and the tools to
# drive it, Mesa's software GL, the MP3/Ogg tools that check the assets).
build_packages=(g++ cmake ninja-build pkg-config libsdl2-dev libepoxy-dev libmpg123-dev
  libvorbis-dev libkissfft-dev libfreetype-dev libpng-dev zlib1g-dev libgl1-mesa-dri
  libegl-mesa0 libegl1)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xfonts-base xdotool zenity
  x11-utils x11-apps x11-xkb-utils imagemagick strace clang libclang-rt-14-dev dpkg-dev ffmpeg)

packages=("${build_packages[@]}")
[[ "$mode" == test ]] && packages+=("${test_packages[@]}")

command -v dpkg-query >/dev/null || die "this script needs a Debian-based system (dpkg-query not found)"

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  say "Installing missing packages: ${missing[*]}"
  if [[ $EUID -eq 0 ]]; then
    as_root=()
  elif command -v sudo >/dev/null; then
    as_root=(sudo)
  else
    die "packages are missing (${missing[*]}) and this is neither root nor has sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -q || die "apt-get update failed"
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" ||
    die "apt-get install failed for: ${missing[*]}"
else
  say "All required packages are installed"
fi

jobs="$(nproc 2>/dev/null || echo 2)"

build() {  # build <preset> [extra cmake arguments...]
  local preset="$1"
  shift
  say "Configuring ($preset)"
  cmake --preset "$preset" "$@" >/dev/null || die "cmake configuration failed for preset $preset"
  say "Building ($preset)"
  cmake --build --preset "$preset" -j "$jobs" || die "build failed for preset $preset"
}

if [[ "$mode" == run ]]; then
  build release
  say "Starting the music disk"
  exec "$here/build/release/musicdisk"
fi

# Tests: the release build (what users run) and a sanitizer build, both with warnings as errors.
for preset in release asan; do
  build "$preset" -DMUSICDISK_WERROR=ON
  say "Running the tests ($preset)"
  ctest --preset "$preset" -j "$jobs" || die "tests failed in the $preset build"
done

# The audio engine's tests again under ThreadSanitizer: the mixer thread, the decode thread and
# the main thread share the engine's state.
build tsan -DMUSICDISK_WERROR=ON
say "Running the audio tests (tsan)"
ctest --preset tsan -j "$jobs" || die "audio tests failed under ThreadSanitizer"

# The fuzz targets (PNG, fonts, streams and URLs, MP3/Ogg) for a few seconds each from their
# seed corpora, with the sanitizers: a crash on any input fails the run.
say "Fuzzing each input parser briefly"
fuzz/run_fuzzers.sh 5 || die "a fuzz target found a failing input"
say "All tests passed"
