#!/usr/bin/env bash
# Makes samples/vocals-es.wav: the five Spanish vowels spoken one by one by espeak-ng, each between
# 0.2 s and 0.4 s of silence, as 8-bit unsigned mono 11025 Hz (the capture format). No dither, so the file is the
# same on every run with the same espeak-ng.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
parts=()
i=0
for vowel in a e i o uu; do   # espeak-ng's Spanish "u" alone comes out too open; "uu" is a clean [u]
    espeak-ng -v es -p 40 -s 80 "$vowel" -w "$work/$i.wav"
    sox "$work/$i.wav" -D -r 11025 -c 1 -b 8 -e unsigned-integer "$work/$i-8.wav" pad 0.2 0.4
    parts+=("$work/$i-8.wav")
    i=$((i + 1))
done
mkdir -p samples
sox -D "${parts[@]}" -e unsigned-integer -b 8 samples/vocals-es.wav
echo "samples/vocals-es.wav: $(soxi -D samples/vocals-es.wav) s"
