#!/usr/bin/env python3
"""Writes data/sounds/attack_detected.wav: one second of a two-tone alarm
(880 Hz and 660 Hz alternating every eighth of a second), 8 kHz mono 8-bit."""
import math
import os
import sys
import wave

TASA = 8000
DURACION = 1.0
TONOS = (880.0, 660.0)
PASO = 0.125


def muestras():
    total = int(TASA * DURACION)
    fase = 0.0
    for i in range(total):
        t = i / TASA
        frec = TONOS[int(t / PASO) % 2]
        fase += 2 * math.pi * frec / TASA
        # Short fade at each edge so the tone changes without clicks.
        pos = t % PASO
        env = min(1.0, pos / 0.005, (PASO - pos) / 0.005)
        yield int(128 + 100 * env * math.sin(fase))


def main():
    raiz = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    destino = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        raiz, "data", "sounds", "attack_detected.wav")
    with wave.open(destino, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(TASA)
        w.writeframes(bytes(muestras()))


if __name__ == "__main__":
    main()
