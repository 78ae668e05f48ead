#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) in build/fuzz and runs each for
# SECONDS seconds (default 10) from the committed seeds in fuzz/corpus/<target>/. New inputs
# go to build/fuzz/corpus/<target>/ (the committed seeds stay small), crashes to
# build/fuzz/artifacts/. Stops with a failure at the first finding.
#   fuzz/run_fuzzers.sh [SECONDS] [TARGET...]
# Needs clang and libclang-rt-14-dev (or the runtime of the installed clang).
set -eu
seconds=${1:-10}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
targets=${*:-"fuzz_png fuzz_font fuzz_stream_url fuzz_audio_decoder"}

echo "== configuring and building the fuzz targets in $build"
CC=${CC:-clang} CXX=${CXX:-clang++} cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMUSICDISK_FUZZ=ON -DMUSICDISK_BUILD_TESTS=OFF \
  -DMUSICDISK_BUILD_TOOLS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j "${FUZZ_JOBS:-2}" --target $targets

mkdir -p "$build/artifacts"
for target in $targets; do
  seeds="$root/fuzz/corpus/${target#fuzz_}"
  work="$build/corpus/${target#fuzz_}"
  mkdir -p "$work"
  echo "== $target for ${seconds}s (seeds: $seeds)"
  # Leak checking stays on: a leak is a finding too.
  "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$build/artifacts/$target-" "$work" "$seeds" \
    2>"$build/$target.log" || { tail -n 60 "$build/$target.log"; echo "$target: FINDING"; exit 1; }
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/$target.log" |
    sed "s/^/   $target /"
done
echo "== no findings"
