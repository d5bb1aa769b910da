#!/usr/bin/env bash
# Builds tessora-cli and recognises the vowels of the demo recording (a, e, i, o, u spoken by espeak-ng).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target tessora-cli
echo "tessora-cli samples/vocals-es.wav:"
./build/release/src/app/tessora-cli samples/vocals-es.wav
