#!/usr/bin/python3
"""Writes the hand cursor shown over links and the banner (cursor 158): a pointing hand, white with a
black outline, anti-aliased through its alpha channel.

    /usr/bin/python3 res/make_cursor.py [output directory]      (needs Debian's python3-pil)

  hand_cursor.png       32 x 32 RGBA
  hand_cursor.cur       the same as a Windows cursor, drawn at 32, 48 and 64 pixels (for 96, 144 and
                        192 dpi), 32-bit images with their AND masks
  hand_cursor.hotspot   the hotspot as "x y"

The hotspot is the tip of the index finger: x = 7, y = 1 (the top of the fingertip's outline)."""
import math
import sys
from pathlib import Path


import winformats
from artwork import Painter, downsample, rounded, stroke_outline, supersampled

SIZE = 32
SS = 16
HOTSPOT = (7, 1)
OUTLINE = 1.0     # pixels of black around the white hand

BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)


def capsule(top, bottom, radius):
    """A vertical finger: a straight stroke with round ends, as an outline polygon."""
    return stroke_outline([top, bottom], radius)


def hand():
    """The hand as polygons in pixels: the raised index finger, the three folded fingers, the
    palm and the thumb, which overlap; the outline follows their union. The index finger is five
    pixels wide so that its tip has one middle pixel, the hotspot."""
    index = capsule((7.5, 4.5), (7.5, 14.0), 2.5)
    middle = capsule((11.8, 10.3), (11.8, 15.0), 1.8)
    ring = capsule((15.3, 11.2), (15.3, 15.5), 1.7)
    little = capsule((18.5, 12.5), (18.5, 16.5), 1.5)
    palm = rounded([(5.0, 13.0), (20.0, 13.5), (20.0, 19.0), (17.5, 24.0), (9.0, 24.0), (5.0, 20.0)], 2.5)
    thumb = stroke_outline([(7.2, 19.6), (2.8, 15.0)], 1.9)
    return [thumb, palm, index, middle, ring, little]


def creases():
    """Lines inside the hand, on pixel centres so they stay sharp: where the folded fingers meet,
    and the thumb's edge on the palm."""
    return [
        [(10.5, 10.4), (10.5, 14.2)],
        [(13.5, 11.3), (13.5, 15.0)],
        [(16.5, 12.6), (16.5, 15.8)],
        [(5.4, 18.2), (7.0, 20.0)],
    ]


def cursor_image(scale=1.0):
    """The cursor drawn `scale` times as large: the shapes and the outline grow together."""
    size = round(SIZE * scale)
    img = supersampled(size, size, SS)
    p = Painter(img, SS * scale)
    shapes = hand()
    # Black first: every shape grown by the outline's width (its edges stroked twice as wide).
    for shape in shapes:
        p.polygon(shape, BLACK)
        ring = shape + [shape[0]]
        for a, b in zip(ring, ring[1:]):
            p.stroke([a, b], 2 * OUTLINE, BLACK)
    # Then white over all of them, so only the union's outer edge stays black.
    for shape in shapes:
        p.polygon(shape, WHITE)
    for line in creases():
        p.stroke(line, 1.0, BLACK)
    return downsample(img, SS)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    image = cursor_image()
    x, y = HOTSPOT
    assert image.getpixel((x, y))[3] > 128, "the hotspot must lie on the fingertip"
    assert all(image.getpixel((x, yy))[3] < 64 for yy in range(y)), "nothing may stand above the tip"
    image.save(out / "hand_cursor.png", optimize=True)
    # The hotspot stays on the fingertip's middle column and the top row of its outline.
    images = [(image, HOTSPOT)] + [(cursor_image(s), (int((x + 0.5) * s), math.ceil(y * s)))
                                   for s in (1.5, 2)]
    data = winformats.cur(images)
    kind, entries = winformats.read_back(data)
    assert kind == 2 and len(entries) == len(images)
    for (size, back, spot), (made, made_spot) in zip(entries, images):
        assert size == made.size and spot == made_spot and back.tobytes() == made.tobytes()
        assert made.getpixel(made_spot)[3] > 128, "each hotspot lies on the fingertip"
    (out / "hand_cursor.cur").write_bytes(data)
    (out / "hand_cursor.hotspot").write_text("%d %d\n" % HOTSPOT)


if __name__ == "__main__":
    main()
