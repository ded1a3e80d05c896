#!/usr/bin/env python3
"""Writes test_melody.bin: the speaker-test melody as little-endian 16-bit pairs
(frequency in Hz, length in tens of milliseconds), in A minor on D5..E6."""
import struct
import sys
from pathlib import Path

D5, E5, F5, G5, A5, B5, C6, D6, E6 = 587, 659, 698, 784, 880, 988, 1046, 1174, 1318

# A falling line that settles on E.
PHRASE_A = [
    (E6, 60), (D6, 20), (C6, 20), (B5, 20), (A5, 40), (C6, 20), (B5, 20),
    (A5, 20), (G5, 20), (A5, 40), (F5, 20), (E5, 20), (D5, 20), (E5, 160),
]
# A rising answer; its first fourteen notes open both closing phrases.
ANSWER = [
    (A5, 20), (B5, 20), (C6, 40), (D6, 20), (E6, 60), (D6, 20), (C6, 20),
    (B5, 20), (C6, 40), (A5, 20), (B5, 20), (G5, 40), (A5, 20), (F5, 20),
]
# The first answer stops on B, open; the second comes home to A.
OPEN_END = [(G5, 30), (A5, 10), (B5, 40), (C6, 20), (D6, 20), (C6, 20), (B5, 60)]
HOME_END = [(G5, 30), (A5, 10), (B5, 20), (C6, 10), (B5, 10), (A5, 20), (G5, 20), (B5, 20),
            (A5, 140)]
# Played like every other pair: inaudible and of no length.
CLOSING = [(20000, 0)]

MELODY = PHRASE_A + PHRASE_A + ANSWER + OPEN_END + ANSWER + HOME_END + CLOSING


def main() -> None:
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("test_melody.bin")
    out.write_bytes(b"".join(struct.pack("<HH", hz, length) for hz, length in MELODY))


if __name__ == "__main__":
    main()
