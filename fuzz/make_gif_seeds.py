#!/usr/bin/env python3
"""Writes the GIF splitter fuzzer's seeds into fuzz/corpus/gif_splitter: small animated GIFs with
control extensions, comments, looping, local color tables and plain text, and one still GIF87a.
The image data is real LZW, so a decoder shows the same pictures."""
import struct
from pathlib import Path

OUT = Path(__file__).resolve().parent / "corpus" / "gif_splitter"


def sub_blocks(data: bytes) -> bytes:
    out = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    return out + b"\0"


def lzw(pixels: list[int], min_code_size: int) -> bytes:
    # A clear code before every two pixels keeps the code width fixed: valid, if not small.
    clear, width = 1 << min_code_size, min_code_size + 1
    codes = []
    for i in range(0, len(pixels), 2):
        codes += [clear] + pixels[i:i + 2]
    codes.append(clear + 1)
    bits = sum(code << (n * width) for n, code in enumerate(codes))
    return bits.to_bytes((len(codes) * width + 7) // 8, "little")


def table(bits: int, seed: int) -> bytes:
    return bytes((seed + 37 * i) & 0xFF for i in range(3 << (bits + 1)))


def header(width: int, height: int, global_bits: int | None, version: bytes = b"89a") -> bytes:
    packed = 0 if global_bits is None else 0x80 | 0x10 | global_bits
    out = b"GIF" + version + struct.pack("<HHBBB", width, height, packed, 0, 0)
    return out if global_bits is None else out + table(global_bits, 11)


def looping() -> bytes:
    return b"\x21\xff\x0bNETSCAPE2.0" + sub_blocks(struct.pack("<BH", 1, 0))


def comment(text: bytes) -> bytes:
    return b"\x21\xfe" + sub_blocks(text)


def control(delay: int, disposal: int, transparent: int | None = None) -> bytes:
    packed = disposal << 2 | (transparent is not None)
    return b"\x21\xf9\x04" + struct.pack("<BHB", packed, delay, transparent or 0) + b"\0"


def image(left: int, top: int, width: int, height: int, local_bits: int | None = None) -> bytes:
    colors_bits = 1 if local_bits is None else local_bits
    packed = 0 if local_bits is None else 0x80 | local_bits
    out = b"\x2c" + struct.pack("<HHHHB", left, top, width, height, packed)
    if local_bits is not None:
        out += table(local_bits, 200)
    min_code_size = max(2, colors_bits + 1)
    pixels = [(x + y) % (2 << colors_bits) for y in range(height) for x in range(width)]
    return out + bytes([min_code_size]) + sub_blocks(lzw(pixels, min_code_size))


def plain_text(text: bytes) -> bytes:
    grid = struct.pack("<HHHHBBBB", 0, 0, 16, 8, 8, 8, 1, 0)
    return b"\x21\x01\x0c" + grid + sub_blocks(text)


SEEDS = {
    "animated.gif": header(8, 8, 1) + looping()
    + control(10, 1) + image(0, 0, 8, 8)
    + control(20, 2) + image(2, 1, 4, 5)
    + control(30, 3, transparent=0) + image(1, 2, 6, 3) + b"\x3b",
    "comments.gif": header(6, 6, 1) + comment(b"made for the fuzzer") + looping()
    + control(5, 1) + comment(b"between control and image") + image(0, 0, 6, 6)
    + comment(b"x" * 300) + control(7, 0) + image(1, 1, 3, 3) + b"\x3b",
    "local-tables.gif": header(5, 4, None)
    + control(4, 1) + image(0, 0, 5, 4, local_bits=0)
    + image(1, 1, 3, 2, local_bits=2)
    + control(9, 2) + image(0, 0, 2, 2, local_bits=7) + b"\x3b",
    "plain-text.gif": header(16, 8, 1)
    + control(12, 1) + plain_text(b"Drovane")
    + control(12, 1) + image(0, 0, 16, 8)
    + plain_text(b"no control") + b"\x3b",
    "still-87a.gif": header(3, 3, 1, b"87a") + image(0, 0, 3, 3) + b"\x3b",
}


def main() -> None:
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)


if __name__ == "__main__":
    main()
