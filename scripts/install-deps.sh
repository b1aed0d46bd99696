#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests still lack:
#   scripts/install-deps.sh        what building and every test need
#   scripts/install-deps.sh run    only what building and running the program need
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    g++ cmake make
    qt6-base-dev qt6-base-dev-tools
    fonts-dejavu-core
)
# The tests' tools: GoogleTest, the benchmarks, libjpeg to write pictures as phones do, the
# format check and clang-tidy, and the X display on which the end-to-end test drives the real
# program.
if [ "${1:-}" != run ]; then
    packages+=(
        libgtest-dev libbenchmark-dev libjpeg-dev
        clang-format clang-tidy
        clang-14 libclang-rt-14-dev valgrind
        xvfb xauth xdotool
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps: missing packages (${missing[*]}), and neither root nor sudo is available" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
