#!/usr/bin/python3
"""Writes banner.gif, the animated banner at the top of the main window (resource "GIF" 168), and
banner@2x.gif, the same banner drawn at twice the size for screens of twice the density.

    /usr/bin/python3 res/make_banner.py [output directory]      (needs Debian's python3-pil)

The banner is 300 x 100 pixels and plays a 4-second loop of 20 frames, 200 ms each: the program's name,
and the emblem's loudspeaker sending sound waves to the right, where a mosquito hovers closer, is
knocked back by a wave, flies off the right edge and comes back.

The GIF is written by hand rather than by Pillow, so that its layout is exactly what the program's
frame splitter and player are built for: GIF89a, one 256-colour global table shared by every frame,
the NETSCAPE2.0 looping extension straight after that table, then per frame a graphic control extension
(200 ms, disposal 1 "leave in place", no transparency) directly followed by its image. Frame 1 is the
whole picture; every later frame is only the rectangle of pixels that changed since the frame before.
The player clears the canvas after each pass and draws frame 1 whole, so frame 1 is complete and
opaque. After writing, the script reads the file back and checks that layout and every decoded pixel."""
import io
import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw

from artwork import (DEJAVU, DEJAVU_BOLD, INK, INK_SOFT, TEAL, Painter, downsample, emblem_shapes, font,
                     paint_mosquito, paint_shapes, paint_speed_lines, placed_emblem, supersampled,
                     window_gradient)

WIDTH, HEIGHT = 300, 100
FRAMES = 20
DELAY = 20          # hundredths of a second
SS = 8              # supersampling of the drawing
WINDOW_TOP = 3      # the banner's first row in the window's client area, for the matching gradient

# Layout, in banner pixels.
NAME_AT = (12, 51)          # left end of the name's baseline
NAME_SIZE = 26
SUBTITLE_AT = (13, 67)
SUBTITLE_SIZE = 11
BADGE_CENTRE = (160, 50)
BADGE_RADIUS = 17

# Sound waves: a new one leaves the loudspeaker every WAVE_PERIOD frames, so the 20-frame loop holds a
# whole number of them and the last frame leads straight into the first.
WAVE_PERIOD = 5
WAVE_FIRST = 20.0           # radius at which a wave appears, just outside the badge
WAVE_SPACING = 18.0         # distance between waves
WAVE_FADE = 84.0            # distance travelled until a wave has faded away
WAVE_SPAN = 27              # degrees either side of the axis
WAVE_WIDTH = 2.3

# The mosquito, frame by frame: thorax position, tilt (degrees, positive = nose up), facing right,
# wing beat. It drifts in towards the loudspeaker, a wave knocks it back, it turns and flies off the
# right edge, stays away a moment and comes back from the lower right.
MOSQUITO = [
    (240, 47, 0, False), (236, 45, 0, False), (233, 47, 0, False), (231, 45, 0, False),
    (235, 42, 16, False), (242, 40, 26, False), (249, 41, 10, False),
    (255, 39, 8, True), (265, 35, 14, True), (278, 30, 16, True), (293, 26, 18, True),
    (309, 22, 18, True), None, None,
    (320, 61, 4, False), (304, 58, 4, False), (289, 55, 3, False), (273, 52, 2, False),
    (260, 50, 1, False), (249, 48, 0, False),
]
MOSQUITO_SCALE = 1.15
DASHING = (8, 9, 10)


# ---------------------------------------------------------------------------------------------------
# Drawing


def background(scale):
    """The window's own gradient at the rows the banner covers, so the banner's edges disappear."""
    img = Image.new("RGBA", (WIDTH * scale, HEIGHT * scale))
    draw = ImageDraw.Draw(img)
    for y in range(HEIGHT * scale):
        draw.line([(0, y), (WIDTH * scale - 1, y)],
                  fill=window_gradient(WINDOW_TOP + y // scale) + (255,))
    return img


def lettering(scale):
    """The name and the line under it, drawn at 4 x and reduced for even anti-aliasing."""
    k = 4 * scale
    img = Image.new("RGBA", (WIDTH * k, HEIGHT * k), (0, 0, 0, 0))
    draw = ImageDraw.Draw(img)
    draw.text((NAME_AT[0] * k, NAME_AT[1] * k), "Drovane", font=font(DEJAVU_BOLD, NAME_SIZE * k),
              fill=INK + (255,), anchor="ls")
    draw.text((SUBTITLE_AT[0] * k, SUBTITLE_AT[1] * k), "high-tone sweep",
              font=font(DEJAVU, SUBTITLE_SIZE * k), fill=INK_SOFT + (255,), anchor="ls")
    return img.reduce(4)


def scene(frame, scale):
    """The moving part of one frame on a transparent layer: waves, badge and mosquito."""
    img = supersampled(WIDTH * scale, HEIGHT * scale, SS)
    p = Painter(img, SS).transformed(scale=scale)
    badge, (cx, cy) = placed_emblem(p, BADGE_CENTRE, BADGE_RADIUS)
    phase = (frame % WAVE_PERIOD) / WAVE_PERIOD
    for k in range(-1, 8):
        travelled = WAVE_SPACING * (k + phase)
        if not 0 < travelled < WAVE_FADE:
            continue
        # Waves swell in over their first few pixels and fade as they spread.
        strength = min(1.0, travelled / 8.0) * (1.0 - travelled / WAVE_FADE) ** 1.1
        p.arc(cx, cy, WAVE_FIRST + travelled, -WAVE_SPAN, WAVE_SPAN, WAVE_WIDTH,
              TEAL + (int(round(235 * strength)),))
    paint_shapes(badge, emblem_shapes(waves=False, speaker_dx=3.4))
    where = MOSQUITO[frame]
    if where:
        x, y, tilt, facing_right = where
        # Rotation is clockwise on screen; mirrored, the nose points the other way.
        angle = -tilt if facing_right else tilt
        mp = p.transformed(dx=x, dy=y, angle=angle, flip=facing_right, scale=MOSQUITO_SCALE)
        if frame in DASHING:
            paint_speed_lines(mp, (120, 112, 96, 110))
        paint_mosquito(mp, wing_phase=frame % 2)
    return downsample(img, SS)


def frames_rgb(scale):
    base = background(scale)
    base.alpha_composite(lettering(scale))
    out = []
    for f in range(FRAMES):
        img = base.copy()
        img.alpha_composite(scene(f, scale))
        out.append(img.convert("RGB"))
    return out


def quantize(frames):
    """One 256-colour palette for all frames (chosen from all of them at once), no dithering, so
    unchanged areas map to the same indices in every frame."""
    width, height = frames[0].size
    strip = Image.new("RGB", (width, height * len(frames)))
    for i, f in enumerate(frames):
        strip.paste(f, (0, height * i))
    q = strip.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = q.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    data = q.tobytes()
    n = width * height
    return palette, [data[i * n:(i + 1) * n] for i in range(len(frames))]


# ---------------------------------------------------------------------------------------------------
# GIF writing


def lzw_encode(indices, min_code_size=8):
    """GIF's variable-width LZW: codes from min_code_size + 1 up to 12 bits, packed LSB first. The
    table is cleared and restarted when it holds 4096 codes."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    width = min_code_size + 1
    table = {}
    next_code = end + 1
    emit(clear, width)
    prefix = indices[0]
    for k in indices[1:]:
        code = table.get((prefix, k))
        if code is not None:
            prefix = code
            continue
        emit(prefix, width)
        if next_code < 4096:
            table[(prefix, k)] = next_code
            next_code += 1
            # The decoder learns each code one step later than we do, hence ">" rather than ">=".
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = {}
            next_code = end + 1
            width = min_code_size + 1
        prefix = k
    emit(prefix, width)
    emit(end, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def changed_box(before, after, size):
    """Bounding box (left, top, right, bottom; exclusive) of the pixels whose index differs."""
    width, height = size
    rows = [y for y in range(height) if before[y * width:(y + 1) * width] != after[y * width:(y + 1) * width]]
    if not rows:
        return (0, 0, 1, 1)  # nothing changed: a one-pixel frame still keeps the timing
    cols = [x for x in range(width)
            if any(before[y * width + x] != after[y * width + x] for y in range(rows[0], rows[-1] + 1))]
    return (cols[0], rows[0], cols[-1] + 1, rows[-1] + 1)


def encode_gif(palette, frames, size):
    width, height = size
    out = bytearray(b"GIF89a")
    # Global colour table present, 8 bits per primary, not sorted, 2^(7+1) = 256 entries.
    out += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    out += bytes(palette)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\x00"  # loop for ever
    previous = None
    for indices in frames:
        box = (0, 0, width, height) if previous is None else changed_box(previous, indices, size)
        left, top, right, bottom = box
        w, h = right - left, bottom - top
        part = b"".join(indices[y * width + left:y * width + right] for y in range(top, bottom))
        # Disposal 1 (leave the frame in place), no user input, no transparent colour.
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 1 << 2, DELAY, 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", left, top, w, h, 0)
        out += b"\x08" + sub_blocks(lzw_encode(part, 8))
        previous = indices
    out.append(0x3B)
    return bytes(out)


# ---------------------------------------------------------------------------------------------------
# Reading it back


def walk(data, size):
    """Lists the file's blocks as (offset, kind, details) and fails on anything out of place."""
    assert data[:6] == b"GIF89a", "signature"
    w, h, packed = struct.unpack_from("<HHB", data, 6)
    assert (w, h) == size, "logical screen %d x %d" % (w, h)
    assert packed & 0x80 and packed & 7 == 7, "global colour table of 256 entries"
    pos = 13 + 768
    blocks = [(0, "header", "GIF89a %d x %d, global table 768 bytes at 13" % (w, h))]

    def chain(p):
        while data[p]:
            p += data[p] + 1
        return p + 1

    while True:
        b = data[pos]
        if b == 0x3B:
            blocks.append((pos, "trailer", ""))
            assert pos == len(data) - 1, "bytes after the trailer"
            return blocks
        if b == 0x21 and data[pos + 1] == 0xFF:
            ident = data[pos + 3:pos + 14].decode("ascii")
            end = chain(pos + 14)
            blocks.append((pos, "application", "%s, %d bytes" % (ident, end - pos)))
        elif b == 0x21 and data[pos + 1] == 0xF9:
            packed, delay, transparent = struct.unpack_from("<BHB", data, pos + 3)
            end = pos + 8
            blocks.append((pos, "control", (delay, (packed >> 2) & 7, packed & 1)))
        elif b == 0x2C:
            left, top, iw, ih, packed = struct.unpack_from("<HHHHB", data, pos + 1)
            assert not packed & 0x80, "local colour table"
            end = chain(pos + 11)
            blocks.append((pos, "image", (left, top, iw, ih, end - pos)))
        else:
            raise AssertionError("unexpected byte 0x%02X at %d" % (b, pos))
        pos = end


def check(data, expected, size):
    """Checks the layout the player relies on and that every frame decodes to the intended pixels."""
    width, height = size
    blocks = walk(data, size)
    kinds = [k for _, k, _ in blocks]
    assert kinds == ["header", "application"] + ["control", "image"] * FRAMES + ["trailer"], kinds
    assert blocks[1][0] == 781 and blocks[1][2].startswith("NETSCAPE2.0, 19 "), blocks[1]
    assert data[781 + 16:781 + 18] == b"\x00\x00", "loop count must be 0 (for ever)"
    assert blocks[2][0] == 800, "first frame's control extension at %d" % blocks[2][0]
    for i in range(FRAMES):
        (c_at, _, (delay, disposal, transparent)), (i_at, _, (left, top, w, h, _)) = \
            blocks[2 + 2 * i], blocks[3 + 2 * i]
        assert i_at == c_at + 8, "frame %d: image not right after its control extension" % (i + 1)
        assert (delay, disposal, transparent) == (DELAY, 1, 0), "frame %d control" % (i + 1)
        if i == 0:
            assert (left, top, w, h) == (0, 0, width, height), "frame 1 must be whole"
        else:
            assert w * h < width * height and left + w <= width and top + h <= height, \
                "frame %d: %d x %d at (%d, %d)" % (i + 1, w, h, left, top)
    decoded = Image.open(io.BytesIO(data))
    assert decoded.n_frames == FRAMES
    for i in range(FRAMES):
        decoded.seek(i)
        got = decoded.convert("RGB").tobytes()
        assert got == expected[i].tobytes(), "frame %d decodes to other pixels" % (i + 1)
    return blocks


def report(name, data, blocks):
    print("%s: %d bytes" % (name, len(data)))
    for i, (at, kind, info) in enumerate(blocks):
        if kind == "control":
            delay, disposal, _ = info
            img_at, _, (left, top, w, h, size) = blocks[i + 1]
            print("  frame %2d: control at %5d (delay %d, disposal %d), image at %5d: %3d x %3d at "
                  "(%3d, %2d), %5d bytes, run %5d" % ((i - 2) // 2 + 1, at, delay, disposal, img_at,
                                                      w, h, left, top, size, 8 + size))
        elif kind != "image":
            print("  %-11s at %5d %s" % (kind, at, info))


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    for scale, name in ((1, "banner.gif"), (2, "banner@2x.gif")):
        size = (WIDTH * scale, HEIGHT * scale)
        rgb = frames_rgb(scale)
        palette, indexed = quantize(rgb)
        data = encode_gif(palette, indexed, size)
        expected = [Image.frombytes("P", size, f) for f in indexed]
        for e in expected:
            e.putpalette(palette)
        blocks = check(data, [e.convert("RGB") for e in expected], size)
        (out / name).write_bytes(data)
        report(name, data, blocks)


if __name__ == "__main__":
    main()
