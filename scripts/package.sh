#!/usr/bin/env bash
# Builds Tessora and makes its Debian package, build/package/tessora_VERSION_amd64.deb, holding what
# `cmake --install` puts in place. Without an argument it builds the programs alone (the package
# preset, in build/package); given a build folder already built, such as build/ci, it packs that one.
#
#   bash scripts/package.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
construccio=${1:-}
if [ -z "$construccio" ]; then
    construccio=build/package
    cmake --preset package >/dev/null
    cmake --build --preset package
fi
rm -f build/package/tessora_*.deb
cpack --config "$construccio/CPackConfig.cmake" -B build/package >/dev/null
ls build/package/tessora_*.deb
