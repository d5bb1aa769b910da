#!/usr/bin/env bash
# Builds Tessora and starts it listening to the default microphone. Without a display, it runs the
# command-line recogniser on the demo recording instead and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target tessora tessora-cli
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/release/src/app/tessora "$@"
fi
echo "No display here: running tessora-cli on the demo recording (a, e, i, o, u) instead."
exec ./build/release/src/app/tessora-cli samples/vocals-es.wav
