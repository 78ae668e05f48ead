#!/usr/bin/env bash
# The Debian package: CPack builds it from a build folder; it holds the program, its menu entry
# and icon in the standard places and nothing else, and depends on Debian's runtime libraries
# only. Unpacked into a scratch folder (dpkg -x: the machine is not changed), the installed
# program runs headless far enough to ask its question, and Escape ends it with exit code 0.
# Run under xvfb-run.
#   package_test.sh BUILD_DIR CPACK
set -uo pipefail
source "$(dirname "$0")/e2e_lib.sh"
build="$1"
cpack="$2"

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack -G DEB failed"
  finish
fi
debs=("$work"/package/*.deb)
check "CPack wrote one .deb (${debs[*]##*/})" test "${#debs[@]}" = 1 -a -f "${debs[0]}"
deb="${debs[0]}"

# --- What it depends on. -------------------------------------------------------------------------
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
names="$(sed -E 's/[,|]/\n/g' <<<"$depends" | sed -E 's/\(.*\)//; s/ //g' | grep -v '^$')"
for library in libsdl2 libmpg123 libvorbisfile libepoxy libfreetype libpng libc6; do
  check "it depends on $library" grep -q "^$library" <<<"$names"
done
check "it depends on no development or test package" \
  test -z "$(grep -E -- '-dev$|gtest|gmock|benchmark|^xvfb|xdotool|kissfft' <<<"$names")"
unknown=""
for name in $names; do
  dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed" ||
    unknown+=" $name"
done
check "every dependency is a Debian package installed here (not:$unknown)" test -z "$unknown"
check "it recommends the desktop's question box" grep -qw zenity <<<"$(dpkg-deb -f "$deb" Recommends)"

# --- What it holds. -------------------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sort >"$work/files"
expected="./usr/bin/musicdisk
./usr/share/applications/musicdisk.desktop
./usr/share/doc/musicdisk/OFL-CherryBomb.txt
./usr/share/doc/musicdisk/OFL-GNUTypewriter.txt
./usr/share/icons/hicolor/256x256/apps/musicdisk.png"
check "it holds the program, its menu entry, its icon and the font licences, nothing else" \
  test "$(cat "$work/files")" = "$expected"
[[ "$(cat "$work/files")" == "$expected" ]] || cat "$work/files"

root="$work/root"
dpkg -x "$deb" "$root"
entry="$root/usr/share/applications/musicdisk.desktop"
for line in "Type=Application" "Name=VOK Music Collection #1" "Exec=musicdisk" "Icon=musicdisk" \
  "Categories=AudioVideo;Audio;Player;"; do
  check "the menu entry has $line" grep -qxF "$line" "$entry"
done
if command -v desktop-file-validate >/dev/null; then
  check "the menu entry is valid" desktop-file-validate "$entry"
fi
check "the icon is a 256x256 PNG" \
  test "$(identify -format '%m %wx%h' "$root/usr/share/icons/hicolor/256x256/apps/musicdisk.png")" \
  = "PNG 256x256"

# --- The installed program runs. ------------------------------------------------------------------
start_program "$root/usr/bin/musicdisk" SDL_AUDIODRIVER=dummy
if answer_box escape; then
  pass "the installed program asks its question"
  wait_exit 10
  check "Escape in the question box exits 0 (got $rc)" test "$rc" = 0
fi
finish
