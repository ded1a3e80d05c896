"""Writers for the Windows picture containers the resource compiler takes: .ico, .cur and 24-bit .bmp.
Written out here so that the layout of each file is plain to see: Pillow's own writers choose bit
depths and entries by themselves."""
import io
import struct

from PIL import Image


def _dib(image):
    """A 32-bit icon or cursor image: BITMAPINFOHEADER with the height doubled (colour rows, then the
    mask rows), the BGRA rows bottom-up, then the 1-bit AND mask, each row padded to 4 bytes. The mask
    is set where a pixel is fully transparent, for programs that ignore the alpha channel."""
    image = image.convert("RGBA")
    w, h = image.size
    mask_stride = ((w + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = image.getpixel((x, y))
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def _png(image):
    out = io.BytesIO()
    image.convert("RGBA").save(out, "PNG", optimize=True)
    return out.getvalue()


def _container(kind, entries):
    """ICONDIR (reserved, type 1 = icon / 2 = cursor, count), one 16-byte entry per image, then the
    images. entries: (image, data, field4, field6); for an icon the last two are the planes (1) and
    bits per pixel (32), for a cursor the hotspot's x and y."""
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for image, data, f4, f6 in entries:
        w, h = image.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, f4, f6, len(data), offset)
        offset += len(data)
    for _, data, _, _ in entries:
        out += data
    return bytes(out)


def ico(images):
    """An .ico file: images up to 128 pixels as 32-bit DIBs, larger ones PNG-compressed (Windows Vista
    and later read those; 256 is written as 0 in the entry)."""
    entries = []
    for image in sorted(images, key=lambda i: i.size[0]):
        data = _png(image) if image.size[0] > 128 else _dib(image)
        entries.append((image, data, 1, 32))
    return _container(1, entries)


def cur(images):
    """A .cur file of 32-bit images, each given with its hotspot as (image, (x, y))."""
    return _container(2, [(image, _dib(image), x, y) for image, (x, y) in images])


def bmp24(image):
    """A 24-bit uncompressed .bmp: BITMAPFILEHEADER, BITMAPINFOHEADER, BGR rows bottom-up, each padded
    to 4 bytes."""
    image = image.convert("RGB")
    w, h = image.size
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = image.getpixel((x, y))
            row += bytes((b, g, r))
        pixels += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


def read_back(data):
    """Every image of an .ico or .cur file as (size, RGBA image), plus the cursor hotspots, for the
    scripts' own checks: it reads what the writers above write, independently of Pillow's reader."""
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    out = []
    for i in range(count):
        w, h, _, _, f4, f6, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        blob = data[offset:offset + size]
        if blob[:8] == b"\x89PNG\r\n\x1a\n":
            image = Image.open(io.BytesIO(blob)).convert("RGBA")
        else:
            hsize, bw, bh, _, bpp = struct.unpack_from("<IiiHH", blob, 0)
            assert (hsize, bw, bh, bpp) == (40, w, 2 * h, 32), "entry %d header" % i
            image = Image.frombytes("RGBA", (w, h), bytes(blob[40:40 + 4 * w * h]), "raw", "BGRA", 0, -1)
            mask_stride = ((w + 31) // 32) * 4
            mask = blob[40 + 4 * w * h:]
            assert len(mask) == mask_stride * h, "entry %d mask size" % i
            for y in range(h):
                row = mask[(h - 1 - y) * mask_stride:(h - y) * mask_stride]
                for x in range(w):
                    transparent = bool(row[x // 8] & (0x80 >> (x % 8)))
                    assert transparent == (image.getpixel((x, y))[3] == 0), "entry %d mask" % i
        out.append(((w, h), image, (f4, f6) if kind == 2 else None))
    return kind, out
