#!/usr/bin/env python3
"""Writes the program icon, tarnel.ico: one 48 x 48 image, 32 bits per pixel with alpha.

The picture is a small window with a title bar and a red close mark on a rounded blue tile.
Run it from any folder; it writes beside itself:  python3 src/app/make_icon.py
"""
import os
import struct

SIZE = 48


def inside_rounded(x, y, left, top, right, bottom, radius):
    """Coverage (0..1) of pixel (x, y) by a rounded rectangle, sampled 4 x 4."""
    hits = 0
    for sy in range(4):
        for sx in range(4):
            px = x + (sx + 0.5) / 4
            py = y + (sy + 0.5) / 4
            if not (left <= px <= right and top <= py <= bottom):
                continue
            cx = min(max(px, left + radius), right - radius)
            cy = min(max(py, top + radius), bottom - radius)
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius:
                hits += 1
    return hits / 16


def blend(under, over, alpha):
    return tuple(round(u * (1 - alpha) + o * alpha) for u, o in zip(under, over))


def pixel(x, y):
    """(r, g, b, a) of one pixel, row 0 at the top."""
    tile = inside_rounded(x, y, 1, 1, 47, 47, 9)
    if tile == 0:
        return (0, 0, 0, 0)
    # Blue tile, lighter at the top.
    t = y / (SIZE - 1)
    colour = (round(40 + 30 * (1 - t)), round(110 + 50 * (1 - t)), round(200 + 40 * (1 - t)))
    # The window: white body, dark title bar.
    body = inside_rounded(x, y, 9, 11, 39, 39, 2)
    if body:
        colour = blend(colour, (250, 250, 250), body)
        if 11 <= y < 18:
            colour = blend(colour, (30, 50, 90), body)
    # The close mark: a red disc with a white cross, at the title bar's right end.
    disc = inside_rounded(x, y, 29, 7, 43, 21, 7)
    if disc:
        colour = blend(colour, (220, 50, 40), disc)
        cx, cy = x + 0.5 - 36, y + 0.5 - 14
        if abs(abs(cx) - abs(cy)) < 1.1 and abs(cx) < 4:
            colour = (255, 255, 255)
    return colour + (round(255 * tile),)


def main():
    rows = []
    mask_rows = []
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = bytearray()
        mask = 0
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            row += bytes((b, g, r, a))
            mask = (mask << 1) | (1 if a == 0 else 0)
        rows.append(bytes(row))
        mask_bytes = mask.to_bytes(SIZE // 8, "big")
        mask_rows.append(mask_bytes + b"\0" * (-len(mask_bytes) % 4))
    xor = b"".join(rows)
    and_mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0, len(xor) + len(and_mask),
                         0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tarnel.ico")
    with open(path, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main()
