#!/usr/bin/env bash
# Sets the music disk up on a Debian or Ubuntu machine and then plays it or tests it.
#
#   ./setup.sh run       install missing packages, build the release program, start it
#   ./setup.sh test      install missing packages, build, run every test (Windows ones too)
#   ./setup.sh windows   install the cross tools, build the 64-bit Windows program and its zip
#
# Run it as root or as a user who may use sudo (only the package installation needs it).
# Every command can be repeated: it installs only what is missing and rebuilds only what
# changed (the Windows libraries are built once, into a cache outside this folder).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

say() { printf '\033[1m==> %s\033[0m\n' "$*"; }
die() { printf '\033[1;31msetup.sh: %s\033[0m\n' "$*" >&2; exit 1; }

usage() {
  sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
}

mode="${1:-}"
[[ "$mode" == run || "$mode" == test || "$mode" == windows ]] || usage

# What building needs, and what the tests need on top (a virtual X server and the tools to
# drive it, Mesa's software GL, the MP3/Ogg tools that check the assets).
build_packages=(g++ cmake ninja-build pkg-config libsdl2-dev libepoxy-dev libmpg123-dev
  libvorbis-dev libkissfft-dev libfreetype-dev libpng-dev zlib1g-dev libgl1-mesa-dri
  libegl-mesa0 libegl1)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xfonts-base xdotool zenity
  pulseaudio pulseaudio-utils mpg123
  x11-utils x11-apps x11-xkb-utils imagemagick strace clang libclang-rt-14-dev dpkg-dev ffmpeg
  libxtst-dev libxdamage-dev)

# The Windows build: the cross compiler, zlib's cross build, what builds the other libraries
# from Debian's source packages (dpkg-dev unpacks them, meson builds libepoxy), and Wine with
# its fonts, which runs the Windows tests.
windows_packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev meson make patch
  bzip2 xz-utils wine64 fonts-wine)

packages=("${build_packages[@]}")
[[ "$mode" == test ]] && packages+=("${test_packages[@]}")
[[ "$mode" == test || "$mode" == windows ]] && packages+=("${windows_packages[@]}")

command -v dpkg-query >/dev/null || die "this script needs a Debian-based system (dpkg-query not found)"

if [[ $EUID -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  as_root=(false)  # only for package installation and the source entry, which then fail loudly
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  say "Installing missing packages: ${missing[*]}"
  [[ "${as_root[*]}" != false ]] ||
    die "packages are missing (${missing[*]}) and this is neither root nor has sudo"
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

# The Windows libraries are built from Debian's source packages, which apt lists only with a
# deb-src entry: one is added beside each deb entry that lacks it.
ensure_source_entries() {
  apt-cache showsrc --only-source libsdl2 2>/dev/null | grep -q '^Version:' && return 0
  say "Adding deb-src entries for Debian's source packages"
  local entry=/etc/apt/sources.list.d/musicdisk-deb-src.sources list
  {
    for list in /etc/apt/sources.list.d/*.sources; do
      [[ -f "$list" && "$list" != "$entry" ]] && sed -n 's/^Types: deb$/Types: deb-src/; p' "$list"
      echo
    done
  } | "${as_root[@]}" tee "$entry" >/dev/null || die "could not write $entry"
  if [[ -f /etc/apt/sources.list ]]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      "${as_root[@]}" tee /etc/apt/sources.list.d/musicdisk-deb-src.list >/dev/null
  fi
  "${as_root[@]}" apt-get update -q || die "apt-get update failed"
  apt-cache showsrc --only-source libsdl2 2>/dev/null | grep -q '^Version:' ||
    die "apt still lists no Debian source packages: add a deb-src entry by hand"
}

# The Windows program: the libraries (once, into a cache keyed on their source versions),
# then the cross build and its zip in build/windows.
windows_build() {
  ensure_source_entries
  local cache=/var/cache/musicdisk-windows
  [[ $EUID -eq 0 || -w /var/cache ]] || cache="${XDG_CACHE_HOME:-$HOME/.cache}/musicdisk-windows"
  say "Windows libraries (built once into $cache, then reused)"
  MUSICDISK_WINDOWS_PREFIX="$(tools/windows/build_libraries.sh "$cache" | tail -n 1)" ||
    die "building the Windows libraries failed"
  export MUSICDISK_WINDOWS_PREFIX
  build windows "$@"
  local zip
  zip="$(ls build/windows/musicdisk-*-win64.zip 2>/dev/null | head -n 1)"
  [[ -f "$zip" ]] || die "the Windows build wrote no zip"
  say "Windows package: $zip"
}

if [[ "$mode" == windows ]]; then
  windows_build
  exit 0
fi

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

# The Windows program: every module's unit tests under Wine, the program used under Wine on a
# virtual X server, and its zip in a fresh Wine prefix; in a Wine prefix of their own.
windows_build -DMUSICDISK_WERROR=ON
say "Running the Windows tests under Wine"
wine_home="$(mktemp -d)"
WINEPREFIX="$wine_home/prefix" ctest --preset windows -j "$jobs" ||
  die "Windows tests failed (under Wine)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
WINEPREFIX="$wine_home/prefix" "$wineserver" -k 2>/dev/null || true  # Wine's own processes
rm -rf "$wine_home"
say "All tests passed"
