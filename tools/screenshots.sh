#!/usr/bin/env bash
# Remakes the screenshots in docs/screenshots from the real program, headless. BUILD_DIR picks
# the build directory (build by default).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target screenshots
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen "$build"/tools/screenshots/screenshots docs/screenshots 2>/dev/null
ls -l docs/screenshots
