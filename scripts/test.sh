#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs every test twice:
# in the normal build and under AddressSanitizer with UndefinedBehaviorSanitizer, with
# clang-tidy over the program's sources in between; last, runs each fuzz target for 15 seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

echo "== formatting"
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== normal build"
scripts/build.sh build -DKAVELTO_WERROR=ON
ctest --test-dir build --output-on-failure

echo "== clang-tidy"
# The program's own sources only, as the normal build compiles them (.clang-tidy says which
# checks); the tests, benchmarks and generated files are left out to keep the run short.
# GCC-only warning options in the compile commands are not clang's to judge.
run-clang-tidy -p build -j2 -quiet -extra-arg=-Wno-unknown-warning-option "^$root/(core|export|ui|picture|res|docs)/" >build/clang-tidy.log ||
    { grep -E 'warning:|error:' build/clang-tidy.log; exit 1; }

echo "== sanitizer build"
scripts/build.sh build-asan -DKAVELTO_WERROR=ON -DKAVELTO_SANITIZE=ON -DKAVELTO_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
    ctest --test-dir build-asan --output-on-failure

echo "== fuzzing"
scripts/fuzz.sh 15
