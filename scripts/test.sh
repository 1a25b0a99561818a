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

# Only what needs no Qt: the widget and end-to-end tests run once, in the g++ build.
core=(-DOMBRIX_BUILD_GUI=OFF -DOMBRIX_BUILD_BENCHMARKS=OFF -DOMBRIX_WERROR=ON)

# Runs a build's tests, showing only their summary unless one fails. The comparison
# with the Python reference runs once, in the g++ build, which the clang build's output
# is then compared with byte for byte.
run_tests() {
    local dir=$1 log=$1/ctest.log
    if ! ctest --test-dir "$dir" --output-on-failure --timeout 600 -j"$(nproc)" -E '^cli_matches_reference$' \
        >"$log" 2>&1; then
        cat "$log"
        exit 1
    fi
    grep -E 'tests passed|Total Test time' "$log"
}

echo "== clang" >&2
bash "$root/scripts/build.sh" "$root/build-test-clang" -DCMAKE_CXX_COMPILER=clang++ "${core[@]}"
run_tests "$root/build-test-clang"

echo "== clang with AddressSanitizer and UBSan, and short fuzzing runs" >&2
bash "$root/scripts/build.sh" "$root/build-test-sanitize" -DCMAKE_CXX_COMPILER=clang++ "${core[@]}" \
    -DOMBRIX_SANITIZE=ON -DOMBRIX_BUILD_FUZZERS=ON
run_tests "$root/build-test-sanitize"

echo "== g++, every test" >&2
bash "$root/scripts/build.sh" "$root/build-test" -DOMBRIX_WERROR=ON \
    -DOMBRIX_OTHER_FADE="$root/build-test-clang/tests/cli/fade_batch"
status=0
(cd "$root/build-test" && ctest --output-on-failure --timeout 600) || status=$?

# A test that leaves files in the tree fails the run (the build folders are ignored).
if untracked=$(git -C "$root" status --porcelain --untracked-files=all 2>/dev/null | grep '^??'); then
    echo "test run left untracked files:" >&2
    echo "$untracked" >&2
    status=1
fi
exit "$status"
