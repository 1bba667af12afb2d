#!/usr/bin/env bash
# Re-makes the README's screenshots from the running program (offscreen) into
# docs/images/. Builds the tool in build/ first.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"${VQ_JOBS:-2}" --target vq_screenshots
mkdir -p docs/images
# On a laptop's 1366x768 screen: the offscreen platform's own 800x600 would
# make the main window scroll.
screens=$(mktemp)
trap 'rm -f "$screens"' EXIT
echo '{"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}' >"$screens"
QT_QPA_PLATFORM="offscreen:configfile=$screens" build/bin/vq_screenshots docs/images
