#!/usr/bin/env bash
# Praat on the other side of our TextGrids. Praat saves a grid in every form it writes (long and short
# text, in UTF-16 by its own choice and in UTF-8), and we add what it writes elsewhere (CR LF line ends,
# a byte-order mark, little-endian UTF-16): our reader lists each file as Praat lists the grid. Praat
# reads each grid our writer writes: it lists what we meant to write, and saved again as UTF-8 it gives
# our very bytes. The forms Praat writes that we do not read (ISO Latin-1, binary, chronological) are
# refused with their line. tessora-cli scores the demo recording against every form Praat wrote alike,
# and Praat finds the intervals and points of tessora-cli's own grids of it where its lines put them.
#
#   prova_textgrid_praat.sh EINA_TEXTGRID TESSORA_CLI DEMO_RECORDING
set -euo pipefail
eina=$1 cli=$2 demo=$3 scripts=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
falla() { echo "$1"; [ -z "${2:-}" ] || diff "$2" "$3"; exit 1; }
# Without Praat's preferences file: a preference one run saves would change what the next one writes.
praat() { HOME=$tmp command praat --no-pref-files --run "$@"; }

praat "$scripts/fes_textgrids.praat" "$tmp" || falla "Praat did not make the grids"
[ "$(head -c 2 "$tmp/llarg-utf16.TextGrid" | od -An -tx1)" = " fe ff" ] || falla "Praat did not choose UTF-16"
praat "$scripts/llista_textgrid.praat" "$tmp/llarg-utf8.TextGrid" "" >"$tmp/praat.txt"
sed 's/$/\r/' "$tmp/llarg-utf8.TextGrid" >"$tmp/llarg-crlf.TextGrid"
{ printf '\xef\xbb\xbf' && cat "$tmp/curt-utf8.TextGrid"; } >"$tmp/curt-bom.TextGrid"
iconv -f UTF-16BE -t UTF-16LE "$tmp/curt-utf16.TextGrid" >"$tmp/curt-utf16le.TextGrid"
{ printf '\xfe\xff' && iconv -f UTF-8 -t UTF-16BE "$tmp/llarg-crlf.TextGrid"; } >"$tmp/crlf-utf16.TextGrid"
for nom in llarg-utf16 curt-utf16 llarg-utf8 curt-utf8 llarg-crlf curt-bom curt-utf16le crlf-utf16; do
    "$eina" llista "$tmp/$nom.TextGrid" >"$tmp/nostre.txt" || falla "$nom: refused"
    cmp -s "$tmp/nostre.txt" "$tmp/praat.txt" || falla "$nom: read otherwise than Praat reads it" "$tmp/nostre.txt" "$tmp/praat.txt"
done

linia=$(LC_ALL=C grep -n -m 1 $'[\x80-\xff]' "$tmp/latin1.TextGrid" | cut -d: -f1)
for error in "latin1.TextGrid:$linia: not UTF-8" "binari.TextGrid:1: a binary" "cronologic.TextGrid:1: Praat's chronological"; do
    estat=0
    "$eina" llista "$tmp/${error%%:*}" 2>"$tmp/error" || estat=$?
    [ "$estat" = 2 ] && grep -qF "$tmp/$error" "$tmp/error" || falla "${error%%:*}: status $estat, $(cat "$tmp/error")"
done

mkdir "$tmp/nostres"
"$eina" escriu "$tmp/nostres" || falla "our grids were not written"
for nom in tessora etiquetes; do
    praat "$scripts/llista_textgrid.praat" "$tmp/nostres/$nom.TextGrid" "$tmp/$nom-praat.TextGrid" >"$tmp/$nom.txt" ||
        falla "$nom: Praat refused our grid"
    cmp -s "$tmp/$nom.txt" "$tmp/nostres/$nom.esperat" || falla "$nom: Praat reads otherwise" "$tmp/$nom.txt" "$tmp/nostres/$nom.esperat"
    cmp "$tmp/$nom-praat.TextGrid" "$tmp/nostres/$nom.TextGrid" || falla "$nom: Praat saves other bytes"
done

# The answers to the demo's vowels in every form: hits, a label we do not know, an error, an insertion.
printf '%s\n' label,answer,block à,A,5 É,E,46 '"di""u ò",I,86' U,O,127 ,U,168 >"$tmp/respostes"
"$cli" --avalua "$tmp/llarg-utf16.TextGrid" --csv "$demo" >"$tmp/avaluat" || falla "--avalua refused Praat's grid"
cut -d, -f4-6 "$tmp/avaluat" | cmp -s - "$tmp/respostes" || falla "--avalua: other answers" "$tmp/respostes" <(cut -d, -f4-6 "$tmp/avaluat")
for nom in curt-utf16 llarg-utf8 curt-utf8 llarg-crlf curt-bom curt-utf16le crlf-utf16; do
    "$cli" --avalua "$tmp/$nom.TextGrid" --csv "$demo" | cmp -s - "$tmp/avaluat" || falla "--avalua: $nom scores otherwise"
done

# Praat's reading of our grids: a point at the middle of each analysed block, labelled with its values,
# and an utterance's interval starting the block before the one analysed, labelled with the vowel.
for mode in --continu --no-continu; do
    opcio=${mode#--no-continu}
    "$cli" $opcio --csv --textgrid "$tmp/demo.TextGrid" "$demo" >"$tmp/demo.csv" || falla "$mode: no grid"
    praat "$scripts/llista_textgrid.praat" "$tmp/demo.TextGrid" "" >"$tmp/demo.praat" || falla "$mode: Praat refused it"
    awk -F, 'NR > 1 { print $1, ($3 == "" ? "-" : $3), $4, $5, $7 }' "$tmp/demo.csv" >"$tmp/esperat"
    awk -F'\t' '$1 == "TextTier" { p = 1; next } p { printf "%d %s\n", $1 * 11025 / 512, $2 }' "$tmp/demo.praat" |
        cmp -s - "$tmp/esperat" || falla "$mode: points elsewhere"
    [ -n "$opcio" ] && continue
    awk -F, 'NR > 1 { print $1 - 1, $3 }' "$tmp/demo.csv" >"$tmp/esperat"
    awk -F'\t' '$1 == "TextTier" { exit } NF == 3 && $3 != "" { printf "%.0f %s\n", $1 * 11025 / 512, $3 }' \
        "$tmp/demo.praat" | cmp -s - "$tmp/esperat" || falla "$mode: utterances elsewhere"
    awk -F'\t' 'NR == 1 && $1 == 0 && ($2 - 105786 / 11025) ^ 2 < 1e-18 { ok = 1 } END { exit !ok }' \
        "$tmp/demo.praat" || falla "$mode: the grid does not span the recording"
done
echo "Praat and our TextGrids agree"
