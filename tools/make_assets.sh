#!/usr/bin/env bash
# Remakes every generated file in assets/ (pictures, fonts, music) with the generators in
# tools/. The results are committed, so a normal build never runs this. The generators get
# a build tree of their own, which configures even while assets are missing.
#   tools/make_assets.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=build/tools
echo "==> Configuring the generators in $build_dir"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMUSICDISK_TOOLS_ONLY=ON >/dev/null
tools/make_gfx.sh "$build_dir"
tools/make_music.sh "$build_dir"
echo "==> Assets remade; 'git status assets' shows what changed"
