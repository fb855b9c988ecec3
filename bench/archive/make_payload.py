"""Writes a realistic install tree: many small files, some medium, a few large; half text-like
(compressible), half random. Deterministic for a given seed.
    make_payload.py <folder> <file count> <total MiB>"""
import os
import random
import sys
from pathlib import Path

root = Path(sys.argv[1])
count = int(sys.argv[2])
total = int(sys.argv[3]) * 1024 * 1024
rng = random.Random(20261211)

# Size classes as fractions of the files and of the bytes.
sizes = []
for i in range(count):
    roll = rng.random()
    if roll < 0.80:
        sizes.append(rng.randint(200, 48 * 1024))
    elif roll < 0.97:
        sizes.append(rng.randint(64 * 1024, 1024 * 1024))
    else:
        sizes.append(rng.randint(2 * 1024 * 1024, 12 * 1024 * 1024))
scale = total / sum(sizes)
sizes = [max(1, int(s * scale)) for s in sizes]

words = [b"lobby", b"texture", b"sound", b"player", b"table", b"card", b"config", b"0x1f",
         b"value", b"=", b";", b"\r\n", b"room", b"score", b"<item>", b"</item>"]
for i, size in enumerate(sizes):
    folder = root / "Tolmaro" / ("pack%02d" % (i % 40)) / ("sub%d" % (i % 3))
    folder.mkdir(parents=True, exist_ok=True)
    if i % 2:
        data = os.urandom(size)
    else:
        chunk = b" ".join(rng.choice(words) for _ in range(4096))
        data = (chunk * (size // len(chunk) + 1))[:size]
    (folder / ("file%04d.dat" % i)).write_bytes(data)
