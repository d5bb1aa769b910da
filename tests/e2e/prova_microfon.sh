#!/usr/bin/env bash
# tessora-cli --microfon against private PulseAudio servers. A capture that cannot be created is refused
# before listening. A recording played into the sink is captured byte for byte and a SIGHUP ends the run
# with the capture saved; the live lines are the file path's lines on the same bytes. A server that
# offers no input is told apart from no server, and one that dies while the program listens ends the run
# at once with status 3.
#
#   prova_microfon.sh TESSORA_CLI RECORDING SERVIDOR_PULSE   (PULSE_SERVER points at the fixture's server)
set -euo pipefail
cli=$1 gravacio=$2 servidor=$3
tmp=$(mktemp -d)
pid=
acabar() {
    [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
    bash "$servidor" stop "$tmp/pulse" >/dev/null
    rm -rf "$tmp"
}
trap acabar EXIT
falla() { echo "$1"; cat "$tmp/err"; exit 1; }
# Until the program's capture stream exists on the server.
escoltant() { for _ in $(seq 100); do [ -n "$(pactl list short source-outputs)" ] && return; sleep 0.1; done; falla "it never listened"; }

estat=0 && "$cli" --microfon --csv --desa-captura "$tmp/no/c.wav" >"$tmp/microfon.txt" 2>"$tmp/err" || estat=$?
[ "$estat" = 2 ] && [ ! -s "$tmp/microfon.txt" ] && [ "$(grep -c "$tmp/no/c.wav: " "$tmp/err")" = 1 ] || falla "no folder:"

"$cli" --microfon --desa-captura "$tmp/captura.wav" >"$tmp/microfon.txt" 2>"$tmp/err" &
pid=$!
escoltant
sleep 0.3 # the stream starts flowing
paplay --device=tessora_sink "$gravacio"
sleep 1 # what was played is still on its way through the server
kill -HUP "$pid"
wait "$pid" || falla "tessora-cli --microfon failed on SIGHUP:"
pid=
# The capture holds every block handled and, with nothing lost (a loaded machine may fall behind), the
# recording unchanged; the live lines are the file path's lines on those bytes.
python3 - "$tmp/captura.wav" "$gravacio" "$tmp/err" <<'PY'
import re, sys, wave
captura = wave.open(sys.argv[1]).readframes(1 << 30)
gravacio = wave.open(sys.argv[2]).readframes(1 << 30)
gestionats, perduts = map(int, re.search(r"(\d+) blocks handled, (\d+) lost", open(sys.argv[3]).read()).groups())
if len(captura) != 512 * gestionats: sys.exit("the capture does not hold every block handled")
so = next(i for i, b in enumerate(gravacio) if b != 128) # the capture may have missed some leading silence
if perduts == 0 and captura.find(gravacio[so:]) < 0: sys.exit("the capture does not hold the recording byte for byte")
PY
"$cli" "$tmp/captura.wav" | diff -u - "$tmp/microfon.txt"

# A server of our own, to take its input away and then kill it.
bash "$servidor" start "$tmp/pulse" >/dev/null
export PULSE_SERVER="unix:$tmp/pulse/native"
pactl unload-module module-remap-source # only the sink's monitor is left: no input
estat=0 && "$cli" --dispositius >/dev/null 2>"$tmp/err" || estat=$?
[ "$estat" = 2 ] && grep -qx "tessora-cli: no sound input device found" "$tmp/err" || falla "no input, status $estat:"
pactl load-module module-remap-source source_name=tessora_mic master=tessora_sink.monitor >/dev/null
pactl set-default-source tessora_mic
timeout -s KILL 20 "$cli" --microfon --durada 15 >/dev/null 2>"$tmp/err" &
pid=$!
escoltant
sleep 1 # a server that dies while the stream starts hangs Qt's PulseAudio backend: let it run first
bash "$servidor" stop "$tmp/pulse" >/dev/null
estat=0 && wait "$pid" || estat=$?
pid=
[ "$estat" = 3 ] && grep -q "the sound input was lost after" "$tmp/err" || falla "server killed, status $estat:"
cat "$tmp/err"
