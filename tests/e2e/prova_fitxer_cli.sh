#!/usr/bin/env bash
# tessora-cli on a file, ended early. SIGINT, SIGTERM and SIGHUP on a recording too long to finish first
# end the run between two blocks: status 0, a line that says after how many seconds, the files saved. A
# file-size limit met by --desa-captura stops the run there: status 1 and one line that says why. Either
# way no temporary is left and the capture holds the blocks of the lines printed: read again, it gives
# the very same lines.
#
#   prova_fitxer_cli.sh TESSORA_CLI RECORDING
set -euo pipefail
cli=$1 gravacio=$2
tmp=$(mktemp -d)
trap 'kill -KILL $! 2>/dev/null || true; rm -rf "$tmp"' EXIT
falla() { echo "$1"; cat "$tmp/err"; exit 1; }
comprovar() {
    [ -z "$(find "$tmp" -name '.tessora-*')" ] || falla "$1: a temporary is left"
    "$cli" --continu "$tmp/c.wav" | cmp - "$tmp/linies" || falla "$1: the capture's lines differ"
}

# Almost 4 GiB of 8-bit mono sound at 11025 Hz, in a sparse file: hours of blocks.
python3 -c 'import struct, sys; n = 0xFFFF0000; sys.stdout.buffer.write(b"RIFF" + struct.pack("<I", n + 36)
    + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, 11025, 11025, 1, 8) + b"data" + struct.pack("<I", n))' >"$tmp/llarg.wav"
truncate -s $((0xFFFF0000 + 44)) "$tmp/llarg.wav"
for senyal in INT TERM HUP; do
    rm -f "$tmp/u.wav" "$tmp/carta.svg"
    "$cli" --continu --desa-captura "$tmp/c.wav" --desa "$tmp/u.wav" --carta "$tmp/carta.svg" "$tmp/llarg.wav" \
        >"$tmp/linies" 2>"$tmp/err" &
    for _ in $(seq 100); do [ -s "$tmp/linies" ] && break; sleep 0.05; done
    kill -"$senyal" $! && wait $! || falla "SIG$senyal, status $?:"
    grep -qx "tessora-cli: interrupted after [0-9]*\.[0-9] s of sound" "$tmp/err" && [ -s "$tmp/u.wav" ] &&
        [ -s "$tmp/carta.svg" ] || falla "SIG$senyal:"
    comprovar "SIG$senyal"
done

estat=0
(trap '' XFSZ && ulimit -f 40 && exec "$cli" --continu --desa-captura "$tmp/c.wav" "$gravacio") \
    >"$tmp/linies" 2>"$tmp/err" || estat=$?
[ "$estat" = 1 ] && [ "$(grep -c "^tessora-cli: La captura se detiene .* $tmp/c.wav: " "$tmp/err")" = 1 ] &&
    [ "$(wc -l <"$tmp/err")" = 1 ] || falla "file-size limit, status $estat:"
comprovar "file-size limit"
echo "tessora-cli: signals and a file-size limit end a file's run with the capture whole"
