#!/usr/bin/env python3
"""Turns an X window dump (xwd, 24 or 32 bits per pixel, ZPixmap; Xvfb -fbdir keeps its screen as
one) into a PNG, optionally cut to a rectangle, with nothing but the standard library.
    xwd-to-png.py OUT.png [X Y WIDTH HEIGHT] < DUMP"""
import struct
import sys
import zlib


def main() -> None:
    if len(sys.argv) not in (2, 6):
        sys.exit(__doc__)
    data = sys.stdin.buffer.read()
    header_size, version, pixmap_format, _depth, width, height = struct.unpack(">6I", data[:24])
    byte_order, = struct.unpack(">I", data[28:32])
    bits_per_pixel, bytes_per_line, _visual_class, red_mask, green_mask, blue_mask = struct.unpack(
        ">6I", data[44:68])
    colormap_entries, = struct.unpack(">I", data[76:80])
    if version != 7 or pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit("xwd-to-png: only 24 or 32 bits per pixel, ZPixmap, version 7")
    left, top, out_width, out_height = 0, 0, width, height
    if len(sys.argv) == 6:
        left, top, out_width, out_height = (int(v) for v in sys.argv[2:6])
        left, top = max(left, 0), max(top, 0)
        out_width, out_height = min(out_width, width - left), min(out_height, height - top)
        if out_width <= 0 or out_height <= 0:
            sys.exit("xwd-to-png: the rectangle lies outside the dump")
    pixels = data[header_size + 12 * colormap_entries:]
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def shift(mask: int) -> int:
        return (mask & -mask).bit_length() - 1

    shifts = [shift(m) for m in (red_mask, green_mask, blue_mask)]
    rows = bytearray()
    for y in range(top, top + out_height):
        rows.append(0)  # no filter
        start = y * bytes_per_line + left * step
        line = pixels[start:start + out_width * step]
        for x in range(0, out_width * step, step):
            value = int.from_bytes(line[x:x + step], order)
            rows += bytes((value >> s) & 0xFF for s in shifts)

    def chunk(kind: bytes, body: bytes) -> bytes:
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", out_width, out_height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
