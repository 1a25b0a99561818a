#!/usr/bin/env bash
# Takes screenshots of every window of the real program on a throw-away desktop:
#   bash scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
# QT_SCALE_FACTOR=2 in the environment gives the high-DPI look.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/shots}
mkdir -p "$out"
exec python3 "$root/tests/e2e/screenshots.py" "$build/app/ombrix" "$out"
