#!/usr/bin/env bash
# Installs what building and running need, builds the program and its manual, and starts
# Kavelto on the bundled demo board, with the manual beside it for "Need help ?".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" run
"$root/scripts/build.sh" build-demo -DKAVELTO_TESTS=OFF -DKAVELTO_BENCHMARKS=OFF
cp "$root/build-demo/docs/KaveltoManual.pdf" "$root/demo/"
cd "$root/demo"
exec "$root/build-demo/ui/kavelto"
