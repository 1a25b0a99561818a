#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test: the
# engine, settings and command-line tests also as built by clang and once more under
# AddressSanitizer and UBSan (with short fuzzing runs), then everything as built by g++,
# which also compares its ombrix-fade output with clang's byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
# The Python tests must leave no __pycache__ in the tree.
export PYTHONDONTWRITEBYTECODE=1

# The builds and their test options are CMakePresets.json's clang, sanitize and release
# presets. Only the release (g++) build has Qt: the widget and end-to-end tests run once.
build() {
    (cd "$root" && cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$(nproc)")
}

# Runs a build's tests, showing only their summary unless one fails. The comparison
# with the Python reference runs once, in the g++ build, which the clang build's output
# is then compared with byte for byte.
run_tests() {
    local log=$2/ctest.log
    if ! (cd "$root" && ctest --preset "$1" -j"$(nproc)") >"$log" 2>&1; then
        cat "$log"
        exit 1
    fi
    grep -E 'tests passed|Total Test time' "$log"
}

echo "== clang" >&2
build clang
run_tests clang "$root/build-test-clang"

echo "== clang with AddressSanitizer and UBSan, and short fuzzing runs" >&2
build sanitize
run_tests sanitize "$root/build-test-sanitize"

echo "== g++, every test" >&2
build release
status=0
(cd "$root" && ctest --preset release) || status=$?

# A test that leaves files in the tree fails the run (the build folders are ignored).
if untracked=$(git -C "$root" status --porcelain --untracked-files=all 2>/dev/null | grep '^??'); then
    echo "test run left untracked files:" >&2
    echo "$untracked" >&2
    status=1
fi
exit "$status"
