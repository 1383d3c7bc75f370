"""The chime the program plays when a download or a monitor stream starts: three soft
bell tones rising C6, E6, G6, 16-bit PCM mono, about 1.3 seconds.
"""

import math
import struct
import wave

RATE = 22050
NOTES = [(0.00, 1046.50), (0.16, 1318.51), (0.32, 1567.98)]  # start (s), frequency (Hz)
LENGTH = 1.3
# partials of a small bell: ratio to the fundamental, strength, extra damping
PARTIALS = [(1.0, 1.0, 1.0), (2.0, 0.35, 1.8), (3.0, 0.12, 2.6), (4.2, 0.05, 3.5)]


def samples():
    n = int(RATE * LENGTH)
    out = [0.0] * n
    for start, freq in NOTES:
        first = int(start * RATE)
        for i in range(first, n):
            t = (i - first) / RATE
            attack = min(1.0, t / 0.006)
            v = 0.0
            for ratio, strength, damp in PARTIALS:
                v += strength * math.exp(-t * 4.0 * damp) * math.sin(2 * math.pi * freq * ratio * t)
            out[i] += attack * v
    # fade the tail so the sound ends without a click
    fade = int(0.08 * RATE)
    for k in range(fade):
        out[n - fade + k] *= 1.0 - k / fade
    peak = max(abs(v) for v in out)
    return [v / peak * 0.6 for v in out]


def write(path):
    frames = b"".join(struct.pack("<h", int(round(v * 32767))) for v in samples())
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


if __name__ == "__main__":
    import sys
    write(sys.argv[1] if len(sys.argv) > 1 else "chimes.wav")
