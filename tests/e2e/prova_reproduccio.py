#!/usr/bin/env python3
# SortidaQt against the private PulseAudio server (PULSE_SERVER): the sound eina_reproduccio plays is
# recorded from the null sink's monitor, asked for at 11025 Hz 8-bit, so that a server running at another
# rate resamples it back. Compared after aligning it by cross-correlation near where the silence breaks:
# the correlation (the same waveform, in order, none of it cut, the end included, since the program
# leaves as soon as it is told the end) and the power of the difference (the same level) within what a
# resampling round trip changes (through a 48 kHz sink, up to 3.3% and a correlation down to 0.984, as
# the fraction of a sample it shifts the sound by varies; the fixture's sink takes the bytes as they
# are), its last samples heard, and silence after it (played once). The delay from the call to the
# first sample heard is printed for the notes, never checked. With no server, the program is refused.
#
#   prova_reproduccio.py EINA_REPRODUCCIO
import os, subprocess, sys, tempfile, threading, time

eina = sys.argv[1]
captura, arribades = bytearray(), []  # the bytes recorded; (monotonic ns, bytes so far) at each read
parec = subprocess.Popen(["parec", "--raw", "--rate=11025", "--format=u8", "--channels=1", "--latency-msec=10",
                          "--device=tessora_sink.monitor"], stdout=subprocess.PIPE)
def llegir():
    while dades := os.read(parec.stdout.fileno(), 4096):
        captura.extend(dades)
        arribades.append((time.monotonic_ns(), len(captura)))
threading.Thread(target=llegir, daemon=True).start()
def esperar(condicio, segons, que):
    limit = time.monotonic() + segons
    while not condicio():
        if time.monotonic() > limit: parec.kill(); sys.exit(que)
        time.sleep(0.01)
esperar(lambda: len(captura) > 0, 10, "the monitor yields nothing")
inici = len(captura)
with tempfile.NamedTemporaryFile() as fitxer:
    execucio = subprocess.run([eina, fitxer.name], capture_output=True, text=True, timeout=60)
    jugat = fitxer.read()
if execucio.returncode != 0: sys.exit(f"eina_reproduccio: status {execucio.returncode} {execucio.stderr}")
silenci = lambda b: abs(b - 128) <= 2  # a resampler's rounding near silence
esperar(lambda: any(not silenci(b) for b in captura[inici:]), 10, "nothing was heard")
so = next(i for i in range(inici, len(captura)) if not silenci(captura[i]))
esperar(lambda: len(captura) > so + len(jugat) + 1024, 10, "the recording stopped")
parec.kill()

n = len(jugat)
centre = lambda s: [b - 128 for b in s]
def correlacio(j, c):
    return sum(x * y for x, y in zip(j, c)) / (sum(x * x for x in j) * sum(y * y for y in c)) ** 0.5 if any(c) else 0
desfas = max(range(so - 64, so + 64), key=lambda d: correlacio(centre(jugat), centre(captura[d:d + n])))
# The head may be heard as silence: a stream that joins a running sink is mixed into what the sink had
# already rendered, which the monitor does not record again (pacat's sound loses it alike); at most the
# sink's latency.
cap = next(i for i in range(n) if not silenci(captura[desfas + i]))
if cap > 256: sys.exit(f"the first {cap} samples were not heard")
j, c = centre(jugat[cap:]), centre(captura[desfas + cap:desfas + n])
error = sum((x - y) ** 2 for x, y in zip(j, c)) / sum(x * x for x in j)  # a gain off by a quarter fails
print(f"head lost {cap} samples, correlation {correlacio(j, c):.4f}, difference {100 * error:.1f}% of its power")
if correlacio(j, c) < 0.97 or error > 0.05: sys.exit("what was heard is not what was played")
if max(map(abs, c[-16:])) < max(map(abs, j[-16:])) / 2: sys.exit("the end was not heard")
if not all(silenci(b) for b in captura[desfas + n + 16:]): sys.exit("something else was heard after it")
t0 = int(execucio.stdout.split()[0])
t1, fins = next((t, f) for t, f in arribades if f > so)  # the read that brought the first sample
print(f"first sound out {(t1 - (fins - so) * 1e9 / 11025 - t0) / 1e6:.0f} ms after Reproduir")

sense = subprocess.run([eina, os.devnull], env=dict(os.environ, PULSE_SERVER="unix:/nonexistent"), timeout=60)
if sense.returncode != 2: sys.exit(f"with no server: status {sense.returncode}")
