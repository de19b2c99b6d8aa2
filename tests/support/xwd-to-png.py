#!/usr/bin/env python3
"""Turns an X window dump (xwd, 24 or 32 bits per pixel, ZPixmap) into a PNG, with nothing but
the standard library.   xwd -root | xwd-to-png.py OUT.png"""
import struct
import sys
import zlib


def main() -> None:
    data = sys.stdin.buffer.read()
    header_size, version, pixmap_format, _depth, width, height = struct.unpack(">6I", data[:24])
    byte_order, = struct.unpack(">I", data[28:32])
    bits_per_pixel, bytes_per_line, _visual_class, red_mask, green_mask, blue_mask = struct.unpack(
        ">I I I I I I", data[44:68])
    colormap_entries, = struct.unpack(">I", data[76:80])
    if version != 7 or pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit("xwd-to-png: only 24 or 32 bits per pixel, ZPixmap, version 7")
    pixels = data[header_size + 12 * colormap_entries:]
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def shift(mask: int) -> int:
        return (mask & -mask).bit_length() - 1

    shifts = [shift(m) for m in (red_mask, green_mask, blue_mask)]
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        for x in range(0, width * step, step):
            value = int.from_bytes(line[x:x + step], order)
            rows += bytes((value >> s) & 0xFF for s in shifts)

    def chunk(kind: bytes, body: bytes) -> bytes:
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
