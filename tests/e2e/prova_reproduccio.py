#!/usr/bin/env python3
# SortidaQt against the private PulseAudio server (PULSE_SERVER): what eina_reproduccio plays is recorded
# from the null sink's monitor, asked for at 11025 Hz 8-bit (a server at another rate resamples it back),
# aligned by cross-correlation near where the silence breaks and compared: the correlation (the same
# waveform, in order) and the power of the difference (the same level) within what a resampling round trip
# changes (through a 48 kHz sink, up to 3.3% and down to 0.984, as the fraction of a sample it shifts by
# varies; the fixture's sink keeps the bytes), its end heard (the program leaves once told the end) and
# silence after it. The head may be heard as silence: a stream that joins a running sink is mixed into
# what the sink had rendered ahead, which the monitor does not record again (pacat's sound loses it
# alike), at most the sink's latency. The delay to the first sample heard is printed for the notes.
import os, subprocess, sys, tempfile, threading, time

eina, captura, arribades = sys.argv[1], bytearray(), []  # arribades: (monotonic ns, bytes so far) per read
parec = subprocess.Popen(["parec", "--raw", "--rate=11025", "--format=u8", "--channels=1", "--latency-msec=10",
                          "--device=tessora_sink.monitor"], stdout=subprocess.PIPE)
def llegir():
    while dades := os.read(parec.stdout.fileno(), 4096):
        captura.extend(dades), arribades.append((time.monotonic_ns(), len(captura)))
threading.Thread(target=llegir, daemon=True).start()
def esperar(condicio, que):
    for _ in range(1000):
        if condicio(): return
        time.sleep(0.01)
    sys.exit(que)
esperar(lambda: captura, "the monitor yields nothing")
inici, silenci = len(captura), lambda b: abs(b - 128) <= 2  # a resampler's rounding near silence
with tempfile.NamedTemporaryFile() as fitxer:
    execucio = subprocess.run([eina, fitxer.name], capture_output=True, text=True, timeout=60)
    jugat, n = fitxer.read(), os.path.getsize(fitxer.name)
if execucio.returncode != 0: sys.exit(f"eina_reproduccio: status {execucio.returncode}")
esperar(lambda: any(not silenci(b) for b in captura[inici:]), "nothing was heard")
so = next(i for i in range(inici, len(captura)) if not silenci(captura[i]))
esperar(lambda: len(captura) > so + n + 1024, "the recording stopped")
centre = lambda s: [b - 128 for b in s]
def correlacio(j, c): return sum(x * y for x, y in zip(j, c)) / (sum(x * x for x in j) * sum(y * y for y in c) or 1) ** 0.5
desfas = max(range(so - 64, so + 64), key=lambda d: correlacio(centre(jugat), centre(captura[d:d + n])))
cap = next(i for i in range(n) if not silenci(captura[desfas + i]))
j, c = centre(jugat[cap:]), centre(captura[desfas + cap:desfas + n])
error = sum((x - y) ** 2 for x, y in zip(j, c)) / sum(x * x for x in j)  # a gain off by a quarter fails
print(f"head lost {cap} samples, correlation {correlacio(j, c):.4f}, difference {100 * error:.1f}% of its power")
if cap > 256 or correlacio(j, c) < 0.97 or error > 0.05: sys.exit("what was heard is not what was played")
if max(map(abs, c[-16:])) < max(map(abs, j[-16:])) / 2: sys.exit("the end was not heard")
if not all(silenci(b) for b in captura[desfas + n + 16:]): sys.exit("something else was heard after it")
t1, fins = next((t, f) for t, f in arribades if f > so)  # the read that brought the first sample
print(f"first sound out {(t1 - (fins - so) * 1e9 / 11025 - int(execucio.stdout)) / 1e6:.0f} ms after Reproduir")
sense = subprocess.run([eina, os.devnull], env=dict(os.environ, PULSE_SERVER="unix:/nonexistent"), capture_output=True)
if sense.returncode != 2: sys.exit(f"with no server: status {sense.returncode}")
