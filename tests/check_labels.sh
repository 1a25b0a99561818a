#!/usr/bin/env bash
# Fails when a test of the build carries none of the labels that the presets and the
# README select by, so that no new test slips out of every subset.
#     check_labels.sh CTEST BUILD_DIR
set -euo pipefail
ctest=$1 build=$2
listing=$("$ctest" --test-dir "$build" -N -LE '^(unit|widget|e2e|wayland|fuzz)$')
if ! grep -q '^Total Tests: 0$' <<<"$listing"; then
    echo "tests without a label of unit, widget, e2e, wayland or fuzz:" >&2
    grep -E '^ *Test +#' <<<"$listing" >&2 || true
    exit 1
fi
echo "every test carries a label"
