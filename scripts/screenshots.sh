#!/usr/bin/env bash
# Builds the screenshot program and renders every page of the wizard and its
# dialogs into docs/screenshots/ under a virtual X server.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$root/docs/screenshots}"

cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target screenshots
mkdir -p "$out"
env -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$build/tools/screenshots" "$out"
