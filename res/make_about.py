#!/usr/bin/python3
"""Writes the About box's picture (bitmap 160): the emblem, with a mosquito making off to the upper
right, on white, because the box is a white card.

    /usr/bin/python3 res/make_about.py [output directory]      (needs Debian's python3-pil)

  about.png     88 x 76 RGB
  about@2x.png  176 x 152 RGB, the same picture for screens of twice the density
  about@2x.bmp  the same as a 24-bit BMP
  about.bmp     the same as a 24-bit BMP

The picture control is 55 x 51 dialog units, about 88 x 77 pixels at 1.6 x 1.5 pixels a unit."""
import io
import sys
from pathlib import Path

from PIL import Image

import winformats
from artwork import (TEAL, Painter, downsample, emblem_shapes, paint_mosquito, paint_shapes,
                     paint_speed_lines, placed_emblem, supersampled)

WIDTH, HEIGHT = 88, 76
SS = 8
BADGE_CENTRE = (30, 45)
BADGE_RADIUS = 25


def picture(scale=1):
    img = supersampled(WIDTH * scale, HEIGHT * scale, SS, (255, 255, 255, 255))
    p = Painter(img, SS).transformed(scale=scale)
    badge, (cx, cy) = placed_emblem(p, BADGE_CENTRE, BADGE_RADIUS)
    # Two waves that have left the disc, fading on their way to the mosquito.
    for r, alpha in ((BADGE_RADIUS + 8, 160), (BADGE_RADIUS + 17, 80)):
        p.arc(cx, cy, r, -26, 26, 2.2, TEAL + (alpha,))
    paint_shapes(badge, emblem_shapes())
    mosquito = p.transformed(dx=74, dy=13, angle=-20, flip=True, scale=0.85)
    paint_speed_lines(mosquito, (150, 144, 130, 140))
    paint_mosquito(mosquito, wing_phase=0.0)
    return downsample(img, SS).convert("RGB")


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    image = picture()
    large = picture(2)
    image.save(out / "about.png", optimize=True)
    large.save(out / "about@2x.png", optimize=True)
    for name, pixels in (("about.bmp", image), ("about@2x.bmp", large)):
        data = winformats.bmp24(pixels)
        back = Image.open(io.BytesIO(data))
        assert back.mode == "RGB" and back.tobytes() == pixels.tobytes(), "BMP pixels differ"
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main()
