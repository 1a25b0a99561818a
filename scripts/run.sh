#!/usr/bin/env bash
# Installs what is missing, builds, and starts the tool.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build" >/dev/null
printf 'Hello from HTML Ombrix' | "$root/build/cli/ombrix-fade"
echo
