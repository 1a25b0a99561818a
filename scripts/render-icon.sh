#!/usr/bin/env bash
# Renders data/icons/ombrix-32.png from the SVG; run it after changing the picture and
# commit both. Needs rsvg-convert (Debian: librsvg2-bin); ImageMagick's own SVG
# renderer drops the gradient.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rsvg-convert -w 32 -h 32 "$root/data/icons/ombrix.svg" -o "$root/data/icons/ombrix-32.png"
