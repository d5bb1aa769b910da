#!/usr/bin/env bash
# A manual page's OPTIONS section lists the very options that its program's --help lists.
#
#   prova_manual.sh PROGRAM PAGE
set -euo pipefail
programa=$1
pagina=$2
nom=$(basename "$programa")
# --help: the first word of each indented line that starts with a dash, split at its commas.
ajuda=$("$programa" --help | awk '/^ +-/ { gsub(",", "\n", $1); print $1 }' | sort -u)
# The page: each tag (the line after a .TP) of the OPTIONS section, every word of it that starts with a
# dash once the font changes are gone.
manual=$(awk '/^\.SH/ { dins = ($2 == "OPTIONS") }
    etiqueta { gsub(/\\f[BIRP]/, ""); gsub(/\\-/, "-"); gsub(/[,|]/, " ")
               for (i = 1; i <= NF; ++i) if ($i ~ /^-/) print $i }
    { etiqueta = dins && /^\.TP/ }' "$pagina" | sort -u)
falten=$(comm -23 <(echo "$ajuda") <(echo "$manual"))
sobren=$(comm -13 <(echo "$ajuda") <(echo "$manual"))
for opcio in $falten; do
    echo "$(basename "$pagina"): $opcio is in \`$nom --help\` but missing from the page's OPTIONS section"
done
for opcio in $sobren; do
    echo "$(basename "$pagina"): $opcio is in the page's OPTIONS section but not in \`$nom --help\`"
done
[ -z "$falten$sobren" ] && echo "$(basename "$pagina"): the same $(wc -w <<<"$ajuda") option names as \`$nom --help\`"
