#!/usr/bin/env bash
# Installs every Debian package the build, the checks, the tests, the benchmarks, the demo and the Debian
# package's own checks need.
# Run as root on Debian 12 (or with sudo). Safe to run again.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config git clang-format clang-tidy
    libgtest-dev libgmock-dev libbenchmark-dev
    libsndfile1-dev libsoxr-dev libcli11-dev libsqlite3-dev
    qt6-base-dev qt6-base-private-dev qt6-multimedia-dev qt6-svg-dev qt6-translations-l10n
    pulseaudio pulseaudio-utils python3 wmctrl
    fonts-liberation fonts-comic-neue fonts-dejavu-core
    espeak-ng sox praat
    xvfb xauth dbus-x11 at-spi2-core python3-pyatspi
    lintian desktop-file-utils appstream man-db
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
