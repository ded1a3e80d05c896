#!/usr/bin/python3
"""Writes the program's icons, all drawn from the emblem in artwork.py (a white loudspeaker sending
out two sound waves, on a teal disc):

    /usr/bin/python3 res/make_icons.py [output directory]      (needs Debian's python3-pil)

  app_icon.png          32 x 32, the window icon (icon 128)
  app_icon_16.png, app_icon_22.png, app_icon_24.png, app_icon_48.png, app_icon_64.png,
  app_icon_128.png, app_icon_256.png, app_icon.svg
                        the same icon at every size of a desktop icon theme (with app_icon.png
                        as its 32)
  app_icon.ico          16, 32, 48 and 256 (PNG-compressed) for Windows
  tray_icon.png         22 x 22, the notification-area icon (icon 165)
  tray_icon.ico         16, 20, 24 and 32
  speaker.png           16 x 15, the loudspeaker glyph beside the sound-test section (bitmap 148)
  speaker.bmp           the glyph as a 24-bit BMP, on the window's gradient where it is shown
  speaker@2x.bmp        the same at twice the density
  app_icon@2x.png, tray_icon@2x.png, speaker@2x.png
                        64 x 64, 44 x 44 and 32 x 30: the same pictures for screens of twice the
                        density

Small sizes use a simplified emblem (thicker waves, one wave at 16 pixels) so that they stay sharp.
The script reads the .ico and .bmp files back and checks them against the drawn images."""
import io
import sys
from pathlib import Path

from PIL import Image

import winformats
from artwork import (GLYPH, GLYPH_SHAPE, TEAL, Painter, downsample, emblem_shapes, geometry_for_size,
                     paint_shapes, supersampled, svg_shapes, window_gradient)

SS = 16

# The sizes of the freedesktop.org icon theme's apps folders besides 32 (app_icon.png).
THEME_SIZES = (16, 22, 24, 48, 64, 128, 256)

# Where bitmap 148 sits in the window's client area (8, 179 dialog units at 1.6 x 1.5 pixels each).
SPEAKER_TOP = 268


def emblem(size):
    img = supersampled(size, size, SS)
    paint_shapes(Painter(img, SS).transformed(scale=size / 32), emblem_shapes(geometry_for_size(size)))
    return downsample(img, SS)


def speaker_glyph(scale=1):
    """The loudspeaker in grey with teal waves, without the disc, filling a 16 x 15 box (`scale`
    times that in pixels)."""
    img = supersampled(16 * scale, 15 * scale, SS)
    shapes = emblem_shapes(GLYPH_SHAPE, disc=False, speaker=GLYPH, wave=TEAL)
    paint_shapes(Painter(img, SS).transformed(scale=0.5 * scale), shapes)
    return downsample(img, SS)


def on_gradient(image, top, scale=1):
    """The image over the window's gradient, row by row from client row `top` of the 96-dpi
    window; `scale` image rows make one such row."""
    w, h = image.size
    back = Image.new("RGBA", (w, h))
    for y in range(h):
        for x in range(w):
            back.putpixel((x, y), window_gradient(top + y // scale) + (255,))
    back.alpha_composite(image)
    return back.convert("RGB")


def svg():
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32">\n'
            '  <title>Drovane</title>\n' + svg_shapes(emblem_shapes()) + '\n</svg>\n')


def check_container(data, images, hotspot=None):
    kind, entries = winformats.read_back(data)
    assert kind == (2 if hotspot else 1)
    assert [e[0] for e in entries] == [i.size for i in images], [e[0] for e in entries]
    for (size, got, spot), want in zip(entries, images):
        assert got.tobytes() == want.convert("RGBA").tobytes(), "%s differs" % (size,)
        assert spot == hotspot


def check_bmp(data, image):
    got = Image.open(io.BytesIO(data))
    assert got.format == "BMP" and got.mode == "RGB" and got.info.get("compression", 0) == 0
    assert got.tobytes() == image.tobytes(), "BMP pixels differ"


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    icons = {size: emblem(size) for size in (16, 20, 22, 24, 32, 44, 48, 64, 128, 256)}

    # Each picture the program loads comes with a "@2x" one for screens of twice the density.
    icons[32].save(out / "app_icon.png", optimize=True)
    icons[64].save(out / "app_icon@2x.png", optimize=True)
    for size in THEME_SIZES:
        icons[size].save(out / ("app_icon_%d.png" % size), optimize=True)
    (out / "app_icon.svg").write_text(svg())
    app_set = [icons[s] for s in (16, 32, 48, 256)]
    data = winformats.ico(app_set)
    check_container(data, app_set)
    (out / "app_icon.ico").write_bytes(data)

    icons[22].save(out / "tray_icon.png", optimize=True)
    icons[44].save(out / "tray_icon@2x.png", optimize=True)
    tray_set = [icons[s] for s in (16, 20, 24, 32)]
    data = winformats.ico(tray_set)
    check_container(data, tray_set)
    (out / "tray_icon.ico").write_bytes(data)

    glyph = speaker_glyph()
    glyph.save(out / "speaker.png", optimize=True)
    speaker_glyph(2).save(out / "speaker@2x.png", optimize=True)
    for name, image, scale in (("speaker.bmp", glyph, 1), ("speaker@2x.bmp", speaker_glyph(2), 2)):
        flat = on_gradient(image, SPEAKER_TOP, scale)
        data = winformats.bmp24(flat)
        check_bmp(data, flat)
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main()
