#!/usr/bin/env python3
"""Writes the program's icons as PNG files: app_icon.png (window icon 128, 32 x 32), tray_icon.png
(tray icon 165, 22 x 22) and speaker.png (bitmap 148, 16 x 15): a loudspeaker sending out sound
waves, drawn with 4 x 4 supersampling. Run it from res/ after changing the artwork."""
import math
import struct
import sys
import zlib
from pathlib import Path


def png(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def in_speaker(x, y):
    """The loudspeaker in a unit square: a box and a cone opening to the right."""
    if 0.16 <= x <= 0.30 and 0.38 <= y <= 0.62:
        return True
    if 0.30 <= x <= 0.50:
        half = 0.12 + (x - 0.30) * (0.26 / 0.20)
        return abs(y - 0.5) <= half
    return False


def in_waves(x, y):
    """Two arcs to the right of the cone."""
    dx, dy = x - 0.46, y - 0.5
    r = math.hypot(dx, dy)
    if dx <= 0 or abs(math.atan2(dy, dx)) > math.radians(50):
        return False
    return 0.16 <= r <= 0.23 or 0.31 <= r <= 0.38


def render(size, shade):
    rows = []
    n = 4
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    c = shade(x, y)
                    if c:
                        for i in range(4):
                            acc[i] += c[i] * (c[3] / 255.0 if i < 3 else 1.0)
            a = acc[3] / (n * n)
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(acc[i] / (acc[3] / 255.0))) for i in range(3)) +
                           (int(round(a)),))
        rows.append(row)
    return rows


def badge(x, y):
    """A teal disc with a white loudspeaker."""
    if math.hypot(x - 0.5, y - 0.5) > 0.48:
        return None
    if in_speaker(x, y) or in_waves(x, y):
        return (255, 255, 255, 255)
    return (34, 112, 122, 255)


def glyph(x, y):
    """The loudspeaker alone, dark grey on transparent."""
    if in_speaker(x, y) or in_waves(x, y):
        return (70, 70, 70, 255)
    return None


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    (out / "app_icon.png").write_bytes(png(32, 32, render(32, badge)))
    (out / "tray_icon.png").write_bytes(png(22, 22, render(22, badge)))
    (out / "speaker.png").write_bytes(png(16, 15, [r[:16] for r in render(16, glyph)[:15]]))


if __name__ == "__main__":
    main()
