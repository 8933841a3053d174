#!/usr/bin/env bash
# Builds the dev, asan, mingw and fuzz presets and runs every test; installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages

jobs=$(nproc)
FUZZ_SECONDS=${FUZZ_SECONDS:-20}

echo "== dev: build and test"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

echo "== asan: build and test under the address and undefined-behaviour sanitizers"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

echo "== mingw: cross build of the portable core"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"

echo "== fuzz: ${FUZZ_SECONDS}s per target"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzzers
# Seeds come from the sample disc's own files and the skin the build generated.
seeds=build/fuzz/seeds
rm -rf "$seeds" && build/dev/src/app/kavlo-tool sample-disc "$seeds/disc" >/dev/null
corpus_root=build/fuzz/corpus
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    mkdir -p "$corpus_root/$name"
    args=("$corpus_root/$name" "$seeds/disc/KAVLO" build/dev/tools/skin)
    # The border clips run to 210 KB; shorter inputs would only ever show the reader cut clips.
    max_len=65536
    [ "$name" = fuzz_avi ] && max_len=262144
    echo "-- $name"
    "$target" -max_total_time="$FUZZ_SECONDS" -max_len="$max_len" -rss_limit_mb=2048 "${args[@]}" 2>&1 | tail -n 3
done

echo "All test stages passed."
