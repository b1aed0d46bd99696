#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kavelto on the bundled demo board.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build -DKAVELTO_BENCHMARKS=OFF
cd "$root/demo"
exec "$root/build/ui/kavelto"
