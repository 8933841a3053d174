#!/usr/bin/env bash
# Builds the menu, writes the sample disc and shows what the menu reads from it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

tool=build/release/src/app/kavlo-tool
disc=build/sample-disc
pc=build/sample-pc
rm -rf "$disc"
"$tool" sample-disc "$disc" "$@"
echo "Sample disc written to $disc"
"$tool" catalogue --disc "$disc" --pc "$pc" --summary
