#!/usr/bin/python3
"""Measures how readable the texts of a screenshot are: for each rectangle, the background is its
most frequent colour and the ink its pixel of the highest WCAG 2 contrast against that; prints
"NAME RATIO" and fails, naming it, when a ratio is below 4.5 (3.0 for a name marked "~", a disabled
text).

Usage: text_contrast.py SHOT AREA...
  AREA is X,Y,W,H:NAME, one text; or rows:X,Y,W,H:NAME|NAME|... (cols:...), texts stacked (side
  by side) in it: the stretches of rows (columns) that hold something besides the background,
  less lines drawn across the whole area (separators), joined across their smallest gaps until one
  is left per name."""
import sys
from collections import Counter

from PIL import Image


def luminance(rgb):
    def linear(c):
        v = c / 255
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = map(linear, rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


def contrast(pixels):
    ground = Counter(p for line in pixels for p in line).most_common(1)[0][0]
    return max(ratio(p, ground) for line in pixels for p in set(line))


def stretches(lines, count):
    """(first, last) of each text across `lines` (rows or columns of pixels), `count` of them."""
    ground = Counter(p for line in lines for p in line).most_common(1)[0][0]
    runs = []
    for i, line in enumerate(lines):
        marked = any(p != ground for p in line)
        rule = len(set(line)) == 1
        if marked and runs and runs[-1][1] == i - 1:
            runs[-1] = [runs[-1][0], i, runs[-1][2] and rule]
        elif marked:
            runs.append([i, i, rule])
    runs = [r[:2] for r in runs if not r[2]]
    while len(runs) > count:
        k = min(range(len(runs) - 1), key=lambda j: runs[j + 1][0] - runs[j][1])
        runs[k:k + 2] = [[runs[k][0], runs[k + 1][1]]]
    return runs


def main():
    image = Image.open(sys.argv[1]).convert("RGB")
    failed = []
    for area in sys.argv[2:]:
        kind, _, rest = area.partition(":") if area[:5] in ("rows:", "cols:") else ("", "", area)
        box, _, names = rest.partition(":")
        x, y, w, h = map(int, box.split(","))
        px = image.crop((x, y, x + w, y + h)).load()
        rows = [[px[i, j] for i in range(w)] for j in range(h)]
        names = names.split("|")
        if kind:
            lines = rows if kind == "rows" else [list(c) for c in zip(*rows)]
            found = stretches(lines, len(names))
            if len(found) < len(names):
                failed.append(f"{area}: {len(found)} texts, not {len(names)}")
                continue
            parts = [lines[a:b + 1] for a, b in found]
        else:
            parts = [rows]
        for name, part in zip(names, parts):
            need = 3.0 if name.startswith("~") else 4.5
            got = contrast(part)
            print(f"{name.lstrip('~')} {got:.2f}")
            if got < need:
                failed.append(f"{name.lstrip('~')}: {got:.2f}, under {need}")
    for f in failed:
        print(f"FAIL: {f}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
