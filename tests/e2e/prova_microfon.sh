#!/usr/bin/env bash
# tessora-cli --microfon against the private PulseAudio server: a recording played into the sink is
# captured byte for byte, and the live path says exactly what the file path says of the same bytes.
#
#   prova_microfon.sh TESSORA_CLI RECORDING   (PULSE_SERVER points at the server)
set -euo pipefail
cli=$1
gravacio=$2
tmp=$(mktemp -d)
pids=()
acabar() {
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap acabar EXIT

segons=$(python3 -c "import wave,sys; w=wave.open(sys.argv[1]); print(w.getnframes()/w.getframerate())" "$gravacio")
durada=$(python3 -c "print(round($segons + 4.0, 1))")

"$cli" --microfon --durada "$durada" --desa-captura "$tmp/captura.wav" >"$tmp/microfon.txt" 2>"$tmp/microfon.err" &
pids+=($!)
sleep 1.5
paplay --device=tessora_sink "$gravacio"
wait "${pids[0]}" || { echo "tessora-cli --microfon failed:"; cat "$tmp/microfon.err"; exit 1; }
cat "$tmp/microfon.err"
grep -q "blocks handled, 0 lost" "$tmp/microfon.err" || { echo "blocks were lost"; exit 1; }

# The captured bytes hold the recording unchanged; where it starts fixes the block alignment.
desplacament=$(python3 - "$tmp/captura.wav" "$gravacio" <<'PY'
import sys, wave
captura = wave.open(sys.argv[1]).readframes(1 << 30)
gravacio = wave.open(sys.argv[2]).readframes(1 << 30)
primer = next(i for i, b in enumerate(gravacio) if b != 128)
inici = next(i for i, b in enumerate(captura) if b != 128) - primer
if inici < 0 or captura[inici:inici + len(gravacio)] != gravacio:
    sys.exit("the capture does not hold the recording byte for byte")
print(inici)
PY
)
echo "recording found byte for byte at offset $desplacament of the capture"

# The live lines are the file path's lines on the captured bytes.
"$cli" "$tmp/captura.wav" >"$tmp/fitxer.txt"
diff -u "$tmp/fitxer.txt" "$tmp/microfon.txt"

# And the vowels are the recording's, at the alignment it had in the capture.
python3 - "$gravacio" "$desplacament" "$tmp/alineada.wav" <<'PY'
import sys, wave
w = wave.open(sys.argv[1])
dades = bytes([128]) * (int(sys.argv[2]) % 512) + w.readframes(w.getnframes())
o = wave.open(sys.argv[3], "wb")
o.setnchannels(1); o.setsampwidth(1); o.setframerate(11025); o.writeframes(dades); o.close()
PY
"$cli" "$tmp/alineada.wav" | cut -f2 >"$tmp/vocals-fitxer.txt"
cut -f2 "$tmp/microfon.txt" >"$tmp/vocals-microfon.txt"
diff -u "$tmp/vocals-fitxer.txt" "$tmp/vocals-microfon.txt"
[ "$(wc -l <"$tmp/microfon.txt")" -ge 5 ] || { echo "too few utterances recognised"; exit 1; }
echo "vowels: $(tr '\n' ' ' <"$tmp/vocals-microfon.txt")"
