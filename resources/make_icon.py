#!/usr/bin/env python3
"""Draws the program's icon, a blue backpack with red pockets, and writes it as an .ico
with 16, 24, 32 and 48 px pictures, 32 bits per pixel with alpha.

Usage: python3 make_icon.py velmora.ico   (standard library only; the output is the same
on every run, so the committed velmora.ico only changes when this drawing does).
"""
import math
import struct
import sys

SIZES = (16, 24, 32, 48)
SAMPLES = 4  # per pixel side, for smooth edges

OUTLINE = (0x1B, 0x1F, 0x3A)
BLUE = (0x2F, 0x6F, 0xD8)
DARK_BLUE = (0x22, 0x52, 0xA8)
RED = (0xD8, 0x2A, 0x2A)


def rounded_box(x0, y0, x1, y1, r):
    """Signed distance (in unit-square coordinates) to a rounded rectangle."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return distance


def ring(x0, y0, x1, y1, r, thickness):
    outer = rounded_box(x0, y0, x1, y1, r)
    return lambda x, y: abs(outer(x, y) + thickness / 2) - thickness / 2


def layers(size):
    """Shapes from back to front: (distance, fill colour). Edges are put on whole pixels
    so that the outlines stay sharp; small sizes get wider pockets so that every part
    stays visible."""
    small = size <= 16
    side = 0.20 if small else 0.16
    snap = lambda v: round(v * size) / size

    def box(x0, y0, x1, y1, r):
        return rounded_box(snap(x0), snap(y0), snap(x1), snap(y1), r)

    handle = ring(snap(0.36), 0.0, snap(0.64), snap(0.24), 0.08, max(0.07, 1.0 / size))
    return [
        (handle, OUTLINE),
        (box(0.02, 0.44, 0.02 + side + 0.06, 0.84, 0.06), RED),  # left pocket
        (box(0.98 - side - 0.06, 0.44, 0.98, 0.84, 0.06), RED),  # right pocket
        (box(0.16, 0.14, 0.84, 0.96, 0.16), BLUE),  # body
        (box(0.16, 0.14, 0.84, 0.42, 0.16), DARK_BLUE),  # top flap
        (box(0.28, 0.52, 0.72, 0.88, 0.07), RED),  # front pocket
    ]


def over(dst, colour, alpha):
    r, g, b, a = dst
    out_a = alpha + a * (1 - alpha)
    if out_a == 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda c, d: (c * alpha + d * a * (1 - alpha)) / out_a
    return (mix(colour[0], r), mix(colour[1], g), mix(colour[2], b), out_a)


def draw(size):
    line = max(1.0, round(size / 20)) / size  # outline width: whole pixels
    shapes = layers(size)
    pixels = []
    for py in range(size):
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    c = (0.0, 0.0, 0.0, 0.0)
                    for distance, fill in shapes:
                        d = distance(x, y)
                        if d < 0:  # inside: outline band near the edge, else fill
                            c = over(c, OUTLINE if (fill is OUTLINE or d > -line) else fill, 1.0)
                    for i in range(4):
                        acc[i] += c[i] if i == 3 else c[i] * c[3]
            n = SAMPLES * SAMPLES
            a = acc[3] / n
            rgb = [acc[i] / n / a if a else 0 for i in range(3)]
            pixels.append(tuple(round(v) for v in rgb) + (round(a * 255),))
    return pixels


def bitmap(size, pixels):
    """One icon picture: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = pixels[y * size:(y + 1) * size]
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def main(path):
    images = [bitmap(s, draw(s)) for s in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "velmora.ico")
