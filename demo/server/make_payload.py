"""Writes the demo lobby's install tree below <folder>/Tolmaro: many small files, some medium,
a few large; text-like (compressible) and random (incompressible) data in subfolders. The
same arguments always give the same bytes.
    make_payload.py <folder> <total MiB>"""
import random
import sys
from pathlib import Path

root = Path(sys.argv[1]) / "Tolmaro"
total = int(sys.argv[2]) * 1024 * 1024
rng = random.Random(30200064)

folders = ["res/skin", "res/sound", "res/font", "games/cards", "games/mahjong", "games/chess",
           "config", "plugins", "update"]
words = [b"lobby", b"texture", b"sound", b"player", b"table", b"card", b"config", b"0x1f",
         b"value", b"=", b";", b"\r\n", b"room", b"score", b"<item>", b"</item>"]

sizes = []
while sum(sizes) < total:
    roll = rng.random()
    if roll < 0.80:
        sizes.append(rng.randint(300, 40 * 1024))
    elif roll < 0.96:
        sizes.append(rng.randint(64 * 1024, 768 * 1024))
    else:
        sizes.append(rng.randint(2 * 1024 * 1024, 5 * 1024 * 1024))
sizes[-1] -= sum(sizes) - total

for i, size in enumerate(sizes):
    folder = root / folders[i % len(folders)]
    folder.mkdir(parents=True, exist_ok=True)
    if i % 3 != 2:
        data = rng.randbytes(size)
        name = "data%04d.pak" % i
    else:
        chunk = b" ".join(rng.choice(words) for _ in range(2048))
        data = (chunk * (size // len(chunk) + 1))[:size]
        name = "text%04d.cfg" % i
    (folder / name).write_bytes(data)
(root / "readme.txt").write_bytes(b"Tolmaro game lobby (demo)\r\n")
