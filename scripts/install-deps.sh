#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the tests and the demo still lack.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    g++ cmake make
    qt6-base-dev qt6-base-dev-tools
    libgtest-dev libbenchmark-dev
    clang-format
    xvfb xauth
    fonts-dejavu-core
)

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
