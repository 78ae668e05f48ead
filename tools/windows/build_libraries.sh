#!/usr/bin/env bash
# Builds the libraries the Windows program links, statically, for 64-bit Windows with
# mingw-w64, from Debian's own source packages, into a prefix outside the work tree:
#
#   tools/windows/build_libraries.sh [CACHE_ROOT]     (default /var/cache/musicdisk-windows)
#
# The prefix is CACHE_ROOT/<key>, where the key is made of the source versions the archive
# offers and of this script itself: while neither changes, a second run finds the prefix
# finished and builds nothing. The last line printed is the prefix. The prefix's
# SOURCES.txt says which source went in for each library.
#
# Needs: apt sources with a deb-src entry, dpkg-dev, cmake, ninja, meson, the cross
# compiler (g++-mingw-w64-x86-64-posix) and zlib for mingw (libz-mingw-w64-dev, Debian's
# own cross build).
#
# When the archive lists a version whose files are missing (it happens with security
# updates on mirrors), the next older version in the archive is used; when no version can
# be fetched whole, the upstream .orig tarball without Debian's patches; either is said
# loudly and written to SOURCES.txt.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
toolchain="$here/../../cmake/toolchains/mingw-w64-x86_64.cmake"
toolchain="$(cd "$(dirname "$toolchain")" && pwd)/$(basename "$toolchain")"
cache_root="${1:-/var/cache/musicdisk-windows}"
jobs="$(nproc 2>/dev/null || echo 2)"
triple=x86_64-w64-mingw32

# Debian source package of each library, in build order (libvorbis needs libogg).
sources=(libpng1.6 freetype libogg libvorbis mpg123 libsdl2 libepoxy kissfft googletest)

say() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }
warn() { printf '\033[1;33mbuild_libraries.sh: %s\033[0m\n' "$*" >&2; }
die() { printf '\033[1;31mbuild_libraries.sh: %s\033[0m\n' "$*" >&2; exit 1; }

# Every version of source package $1 the archive lists, newest first.
versions_of() {
  apt-cache showsrc --only-source "$1" 2>/dev/null | awk '/^Version:/ {print $2}' |
    sort -u -V -r
}

declare -A newest
key_text="$(sha256sum "$0" "$toolchain" | cut -c1-64)"
for src in "${sources[@]}"; do
  v="$(versions_of "$src" | head -n1)"
  [[ -n "$v" ]] || die "the archive lists no source package $src: add a deb-src entry and run apt-get update"
  newest[$src]="$v"
  key_text+=" $src=$v"
done
key="$(printf '%s' "$key_text" | sha256sum | cut -c1-16)"
prefix="$cache_root/$key"

if [[ -f "$prefix/SOURCES.txt" ]]; then
  say "Windows libraries already built in $prefix"
  echo "$prefix"
  exit 0
fi

work="$(mktemp -d "${TMPDIR:-/var/tmp}/musicdisk-windows-libs.XXXXXX")"
trap 'rm -rf "$work"' EXIT
# Installed straight into its final place (the libraries' .pc files name it); SOURCES.txt,
# written last, marks it finished, so a half-built prefix is never taken for one.
stage="$prefix"
rm -rf "$stage"
mkdir -p "$stage" "$work/src"
: >"$work/SOURCES.txt"

# Fetches source package $1 into $work/src and prints the unpacked folder.
fetch() {
  local src="$1" v dir
  for v in $(versions_of "$src"); do
    dir="$work/src/$src-$v"
    mkdir -p "$dir"
    if (cd "$dir" && apt-get source -q --only-source "$src=$v" >"$dir.log" 2>&1); then
      [[ "$v" == "${newest[$src]}" ]] ||
        warn "$src ${newest[$src]} could not be fetched; using the archive's $v instead"
      echo "$src $v (Debian source package)" >>"$work/SOURCES.txt"
      find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1
      return 0
    fi
    warn "$src $v: apt-get source failed ($(grep -m1 -E '^E:' "$dir.log" || echo 'see log'))"
    # Often only the upstream signature (.asc) is missing: the source and Debian's changes
    # are there, and are unpacked and patched the way dpkg-source does.
    if unpack_by_hand "$dir"; then
      warn "$src $v: unpacked by hand with Debian's patches (a file beside them was missing)"
      echo "$src $v (Debian source package, unpacked by hand: $(grep -m1 -oE '[^/ ]+ +404' "$dir.log" | cut -d' ' -f1) was missing)" >>"$work/SOURCES.txt"
      find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1
      return 0
    fi
  done
  # No version came whole: take an upstream tarball that did arrive.
  local orig
  orig="$(find "$work/src" -path "*/$src-*" -name '*.orig.tar.*' ! -name '*.asc' | head -n1)"
  [[ -n "$orig" ]] || die "no source of $src could be fetched from the archive"
  warn "$src: no Debian version could be fetched whole; building the upstream tarball $(basename "$orig") without Debian's patches"
  echo "$src $(basename "$orig") (upstream tarball, no Debian patches)" >>"$work/SOURCES.txt"
  dir="$work/src/$src-upstream"
  mkdir -p "$dir"
  tar -xf "$orig" -C "$dir"
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n1
}

# Unpacks a Debian "3.0 (quilt)" source from the .orig and .debian tarballs in folder $1 and
# applies debian/patches in the order of their series file; fails if either tarball is absent.
unpack_by_hand() {
  local dir="$1" orig debian tree
  orig="$(find "$dir" -maxdepth 1 -name '*.orig.tar.*' ! -name '*.asc' | head -n1)"
  debian="$(find "$dir" -maxdepth 1 -name '*.debian.tar.*' | head -n1)"
  [[ -n "$orig" && -n "$debian" ]] || return 1
  tree="$dir/source"
  mkdir -p "$tree"
  tar -xf "$orig" -C "$tree" --strip-components=1 || return 1
  tar -xf "$debian" -C "$tree" || return 1
  if [[ -f "$tree/debian/patches/series" ]]; then
    local patch
    while read -r patch _; do
      [[ -z "$patch" || "$patch" == \#* ]] && continue
      patch -d "$tree" -p1 -s <"$tree/debian/patches/$patch" || return 1
    done <"$tree/debian/patches/series"
  fi
}

cmake_lib() {  # cmake_lib <source folder> [cmake arguments...]
  local srcdir="$1"
  shift
  cmake -S "$srcdir" -B "$srcdir/_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DMUSICDISK_WINDOWS_PREFIX="$stage" \
    -DCMAKE_INSTALL_PREFIX="$stage" -DBUILD_SHARED_LIBS=OFF "$@" >"$srcdir/_configure.log" 2>&1 ||
    { tail -n 30 "$srcdir/_configure.log" >&2; die "configuring $(basename "$srcdir") failed"; }
  cmake --build "$srcdir/_build" -j "$jobs" >"$srcdir/_build.log" 2>&1 ||
    { tail -n 30 "$srcdir/_build.log" >&2; die "building $(basename "$srcdir") failed"; }
  cmake --install "$srcdir/_build" >/dev/null ||
    die "installing $(basename "$srcdir") failed"
}

write_gl_pc() {
  cat >"$stage/lib/pkgconfig/gl.pc" <<EOF
Name: gl
Description: OpenGL of Windows itself (opengl32.dll)
Version: 1.1
Libs: -lopengl32
EOF
}

build_one() {
  local src="$1" dir start=$SECONDS
  dir="$(fetch "$src")"
  say "Building $src for Windows ($(basename "$dir"))"
  case "$src" in
    libpng1.6)
      cmake_lib "$dir" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF ;;
    freetype)
      cmake_lib "$dir" -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
        -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON ;;
    libogg)
      cmake_lib "$dir" -DINSTALL_DOCS=OFF ;;
    libvorbis)
      cmake_lib "$dir" -DCMAKE_PREFIX_PATH="$stage" ;;
    mpg123)
      # Only the decoder library: no player, no output modules.
      (cd "$dir" && ./configure --host=$triple --prefix="$stage" --disable-shared --enable-static \
        --with-cpu=x86-64 --disable-modules --with-audio=dummy --disable-components \
        --enable-libmpg123 >"$dir/_configure.log" 2>&1) ||
        { tail -n 30 "$dir/_configure.log" >&2; die "configuring mpg123 failed"; }
      (cd "$dir" && make -j "$jobs" >"$dir/_build.log" 2>&1 && make install >/dev/null 2>&1) ||
        { tail -n 30 "$dir/_build.log" >&2; die "building mpg123 failed"; } ;;
    libsdl2)
      # Windows video, audio, events, timers and threads; the disk and dummy audio drivers
      # for the tests. Nothing the program does not use: no renderer (the software driver
      # blits a window surface), no joystick, haptic, sensor or power code.
      cmake_lib "$dir" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_RENDER=OFF \
        -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
        -DSDL_VULKAN=OFF -DSDL_DIRECTX=OFF -DSDL_RENDER_D3D=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
        -DSDL_DISKAUDIO=ON -DSDL_DUMMYAUDIO=ON -DSDL_DUMMYVIDEO=ON -DSDL_OFFSCREEN=ON ;;
    libepoxy)
      cat >"$work/meson-cross.txt" <<EOF
[binaries]
c = '$triple-gcc-posix'
cpp = '$triple-g++-posix'
ar = '$triple-ar'
strip = '$triple-strip'
windres = '$triple-windres'
pkgconfig = 'pkg-config'

[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
      (cd "$dir" && meson setup _build --cross-file "$work/meson-cross.txt" --prefix="$stage" \
        --libdir=lib --buildtype=release -Ddefault_library=static -Dtests=false \
        -Ddocs=false -Degl=no -Dglx=no -Dx11=false >"$dir/_configure.log" 2>&1) ||
        { tail -n 30 "$dir/_configure.log" >&2; die "configuring libepoxy failed"; }
      (cd "$dir" && ninja -C _build -j "$jobs" install >"$dir/_build.log" 2>&1) ||
        { tail -n 30 "$dir/_build.log" >&2; die "building libepoxy failed"; }
      # epoxy.pc requires "gl", which on Windows is the system's opengl32.dll.
      write_gl_pc ;;
    kissfft)
      # Its CMake sets the install folders only for UNIX.
      cmake_lib "$dir" -DKISSFFT_STATIC=ON -DKISSFFT_TEST=OFF -DKISSFFT_TOOLS=OFF \
        -DKISSFFT_PKGCONFIG=ON -DKISSFFT_DATATYPE=float -DKISSFFT_OPENMP=OFF \
        -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_INSTALL_INCLUDEDIR=include ;;
    googletest)
      cmake_lib "$dir" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON ;;
  esac
  say "$src built in $((SECONDS - start)) s"
}

start=$SECONDS
for src in "${sources[@]}"; do build_one "$src"; done
echo "zlib $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev) (Debian's mingw-w64 build, libz-mingw-w64-dev)" >>"$work/SOURCES.txt"
cp "$work/SOURCES.txt" "$prefix/SOURCES.txt"
say "Windows libraries built in $((SECONDS - start)) s into $prefix"
echo "$prefix"
