#!/usr/bin/env bash
# Takes screenshots of every window of the real program on a throw-away desktop, at
# 96 dpi into OUT_DIR and with QT_SCALE_FACTOR=2 (the high-DPI look) into OUT_DIR/hidpi:
#   bash scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/shots}
mkdir -p "$out/hidpi"
env -u QT_SCALE_FACTOR python3 "$root/tests/e2e/screenshots.py" "$build/app/ombrix" "$out"
QT_SCALE_FACTOR=2 python3 "$root/tests/e2e/screenshots.py" "$build/app/ombrix" "$out/hidpi"
