#!/usr/bin/env bash
# Remakes the program's pictures (assets/gfx/) and fonts (assets/fonts/).
#
#   tools/make_gfx.sh [build-dir]      (default: build/release)
#
# The fonts are free fonts taken from Debian packages and stored under the program's own
# resource names; the pictures are drawn by the gfxgen tool from the display font. Running
# it twice gives byte-identical files.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

say() { echo "make_gfx: $*"; }
die() {
  echo "make_gfx: error: $*" >&2
  exit 1
}

build_dir="${1:-build/release}"
fonts_dir="assets/fonts"
gfx_dir="assets/gfx"

# --- Fonts --------------------------------------------------------------------------------
# source file | Debian package | name in the program | licence file
fonts=(
  "/usr/share/fonts/opentype/cherrybomb/CherryBomb-Regular.otf|fonts-cherrybomb|HoboStd.otf|OFL-CherryBomb.txt"
  "/usr/share/fonts/truetype/gnutypewriter/GNUTypewriter.ttf|fonts-gnutypewriter|Erika_Ormig.ttf|OFL-GNUTypewriter.txt"
)

# Prints the copyright lines and the licence text of the package's font files (the
# "Files: *" paragraph of its machine-readable copyright file) as plain text.
licence_text() {
  awk '
    /^Files: \*$/          { inside = 1; next }
    !inside                { next }
    /^Files:/              { exit }
    /^Copyright:/          { sub(/^Copyright: */, ""); print "Copyright " $0; holders = 1; next }
    /^License:/            { holders = 0; text = 1; print ""; print; print ""; next }
    holders && /^ /        { sub(/^ +/, ""); print "          " $0; next }
    text && /^ \.$/        { print ""; next }
    text && /^ /           { sub(/^ /, ""); print; next }
    text                   { exit }
  ' "$1"
}

mkdir -p "$fonts_dir" "$gfx_dir"
for entry in "${fonts[@]}"; do
  IFS='|' read -r source package name licence <<<"$entry"
  [[ -f "$source" ]] || die "$source not found: install the Debian package $package (apt-get install $package)"
  copyright="/usr/share/doc/$package/copyright"
  [[ -f "$copyright" ]] || die "$copyright not found: reinstall the Debian package $package"
  say "font $fonts_dir/$name <- $source ($package)"
  install -m 644 "$source" "$fonts_dir/$name"
  licence_text "$copyright" >"$fonts_dir/$licence"
  grep -qx "License: OFL-1.1" "$fonts_dir/$licence" ||
    die "$copyright no longer carries the OFL 1.1 text for the font files"
done

# --- The generator --------------------------------------------------------------------------
if [[ -f "$build_dir/CMakeCache.txt" ]]; then
  say "building gfxgen in $build_dir"
  cmake --build "$build_dir" --target gfxgen
else
  # The whole project only configures once all assets exist; the generator stands alone.
  standalone="build/gfxgen"
  say "$build_dir is not configured; building gfxgen on its own in $standalone"
  cmake -S tools/gfxgen -B "$standalone" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$standalone" --target gfxgen
  build_dir="$standalone"
fi
gfxgen="$(find "$build_dir" -type f -name gfxgen -perm -u+x -print -quit)"
[[ -n "$gfxgen" ]] || die "no gfxgen executable under $build_dir after building it"

# --- Pictures -------------------------------------------------------------------------------
say "drawing pictures into $gfx_dir with $gfxgen"
"$gfxgen" --font "$fonts_dir/HoboStd.otf" --out "$gfx_dir"

say "done:"
(cd assets && sha256sum fonts/*.otf fonts/*.ttf gfx/*.png)
