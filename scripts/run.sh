#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build" >/dev/null
exec "$root/build/app/ombrix"
