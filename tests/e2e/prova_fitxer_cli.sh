#!/usr/bin/env bash
# tessora-cli on a file, ended early. SIGINT, SIGTERM and SIGHUP on a recording too long to finish first
# end the run between two blocks, with status 0, a line that says after how many seconds and every file
# asked for saved; a file-size limit met by --desa-captura stops the run there with status 1 and a line
# that says why. Either way the capture is put in place (no temporary left) holding the blocks of the
# lines printed, whole: read again, it gives the very same lines.
#
#   prova_fitxer_cli.sh TESSORA_CLI RECORDING
set -euo pipefail
cli=$1 gravacio=$2
tmp=$(mktemp -d)
pid=
acabar() {
    [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap acabar EXIT
falla() { echo "$1"; cat "$tmp/err"; exit 1; }
mateixes_linies() { "$cli" --continu "$tmp/c.wav" | cmp - "$tmp/linies" || falla "$1: the capture's lines differ"; }

# Almost 4 GiB of 8-bit mono silence at 11025 Hz, a sparse file: hours of blocks.
python3 -c 'import struct, sys; n = 0xFFFF0000; sys.stdout.buffer.write(b"RIFF" + struct.pack("<I", n + 36)
    + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, 11025, 11025, 1, 8) + b"data" + struct.pack("<I", n))' >"$tmp/llarg.wav"
truncate -s $((0xFFFF0000 + 44)) "$tmp/llarg.wav"
for senyal in INT TERM HUP; do
    rm -f "$tmp/u.wav" "$tmp/carta.svg"
    "$cli" --continu --desa-captura "$tmp/c.wav" --desa "$tmp/u.wav" --carta "$tmp/carta.svg" "$tmp/llarg.wav" \
        >"$tmp/linies" 2>"$tmp/err" &
    pid=$!
    for _ in $(seq 100); do [ -s "$tmp/linies" ] && break; sleep 0.05; done
    kill -"$senyal" "$pid"
    wait "$pid" || falla "SIG$senyal: status $?"
    pid=
    grep -qx "tessora-cli: interrupted after [0-9]*\.[0-9] s of sound" "$tmp/err" || falla "SIG$senyal:"
    [ -s "$tmp/u.wav" ] && [ -s "$tmp/carta.svg" ] || falla "SIG$senyal: --desa or --carta not saved"
    [ -z "$(find "$tmp" -name '.tessora-*')" ] || falla "SIG$senyal left a temporary"
    mateixes_linies "SIG$senyal"
done

estat=0
(trap '' XFSZ && ulimit -f 40 && exec "$cli" --continu --desa-captura "$tmp/c.wav" "$gravacio") \
    >"$tmp/linies" 2>"$tmp/err" || estat=$?
[ "$estat" = 1 ] && grep -q "^tessora-cli: La captura se detiene .* $tmp/c.wav: " "$tmp/err" || falla "limit, status $estat:"
[ "$(wc -l <"$tmp/err")" = 1 ] || falla "more than one line:"
mateixes_linies "limit"
echo "tessora-cli: signals and a file-size limit end a file's run with the capture whole"
