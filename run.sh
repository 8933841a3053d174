#!/usr/bin/env bash
# Builds the menu, writes the sample disc and opens the menu on it: in a window where there is a
# display, otherwise headless, leaving a screenshot and a state dump.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ensure_packages

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

tool=build/release/src/app/kavlo-tool
menu=build/release/src/app/kavlo
disc=build/sample-disc
pc=build/sample-pc
rm -rf "$disc"
"$tool" sample-disc "$disc" "$@" >/dev/null
echo "Sample disc written to $disc"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$menu" --disc "$disc" --pc "$pc"
fi
echo "No display here: running the menu headless on the sample disc."
"$menu" --headless --disc "$disc" --pc "$pc" --screenshot build/menu.png --dump-state build/menu.json
echo "Screenshot: build/menu.png   State dump: build/menu.json"
