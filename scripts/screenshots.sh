#!/usr/bin/env bash
# Takes the manual's pictures of the real window (docs/*.png) on a virtual display of
# 1366 x 768, during the end-to-end test's session on the demo board, then rebuilds the manual.
#   scripts/screenshots.sh [BUILD_DIR]      (build by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/${1:-build}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target real_program_test -j "$(nproc)"
# The test leaves its own screen picture in its working directory: a scratch one here.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
KAVELTO_SCREENSHOTS="$root/docs" "$root/tests/e2e/run-under-xvfb.sh" \
    "$build/tests/e2e/real_program_test" firstSessionOnTheDemoBoard \
    firstRunNamesItsFilesAndKeepsTheFacesCalibration
cmake --build "$build" --target kavelto_manual_pdf
