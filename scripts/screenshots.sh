#!/usr/bin/env bash
# Takes screenshots of every window of the real program on a throw-away desktop, at
# 96 dpi into OUT_DIR and with QT_SCALE_FACTOR=2 (the high-DPI look) into OUT_DIR/hidpi,
# under openbox; and at 96 dpi under icewm, which draws the frames the program asks for
# (openbox draws minimise and maximise on every window), into OUT_DIR/icewm:
#   bash scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/shots}
mkdir -p "$out/hidpi" "$out/icewm"
env -u QT_SCALE_FACTOR python3 "$root/tests/e2e/screenshots.py" "$build/app/ombrix" "$out"
QT_SCALE_FACTOR=2 python3 "$root/tests/e2e/screenshots.py" "$build/app/ombrix" "$out/hidpi"
env -u QT_SCALE_FACTOR OMBRIX_WINDOW_MANAGER=icewm python3 "$root/tests/e2e/screenshots.py" "$build/app/ombrix" "$out/icewm"
