#!/usr/bin/env bash
# Re-makes the README's screenshots from the running program (offscreen) into
# docs/images/. Builds the tool in build/ first.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"${VQ_JOBS:-2}" --target vq_screenshots
mkdir -p docs/images
QT_QPA_PLATFORM=offscreen build/bin/vq_screenshots docs/images
