#!/usr/bin/env bash
# Runs a command on a virtual X display of 1366 x 768, the smallest laptop screen the main
# window is made for:  run-under-xvfb.sh COMMAND [ARGUMENT...]
# Exits with 77, which ctest counts as skipped, when Xvfb or xdotool is missing.
set -euo pipefail
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed; scripts/install-deps.sh installs it"
        exit 77
    fi
done

ready=$(mktemp)
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$ready" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$ready"' EXIT
# Xvfb writes its display number once it accepts clients.
for _ in $(seq 200); do
    if [ -s "$ready" ] || ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    sleep 0.05
done
if [ ! -s "$ready" ]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
DISPLAY=":$(head -n 1 "$ready")" QT_QPA_PLATFORM=xcb "$@"
