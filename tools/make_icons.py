#!/usr/bin/env python3
"""Write the program's two icons as 16-colour .ico files.

Usage: make_icons.py OUT_DIR

Makes OUT_DIR/Lumeyra.ico (the normal icon) and OUT_DIR/LumeyraStop.ico
(the same eye in greys, shown while the timer is stopped).  Each file holds
an image for each of the sizes Windows asks for from 100 to 150 % (16, 20,
24, 32, 40 and 48 pixels) at 4 bits per pixel with the standard Windows
16-colour palette, which every Windows and Wine version can draw.  An icon
image is a bottom-up DIB whose stated height is twice the real one because
the colour (XOR) bitmap is followed by a 1-bpp AND mask; mask bit 1 with
colour 0 leaves the pixel transparent.

The eye is drawn by hand at 16 and 32: a scaled-down 32 x 32 eye turns to
mush at 16 x 16.  The sizes between and above are drawn at their own size
from the same eye given as shapes (see eye_shapes), every pixel whole, so
that none is a blurred copy of another.
"""
import math
import os
import struct
import sys

# Standard Windows 16-colour palette, as (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Drawing letters to palette indices: K black, W white, B blue iris,
# N navy iris rim, Y yellow lid, S silver shadow under the lid.
COLOURS = {'K': 0, 'W': 15, 'B': 12, 'N': 4, 'Y': 11, 'S': 7}
# The stopped icon keeps the drawing but uses only black, dark grey,
# light grey and white.
GREYS = {'K': 0, 'W': 15, 'B': 8, 'N': 0, 'Y': 7, 'S': 7}

EYE_32 = """\
................................
................................
................................
................................
................................
................................
..........KKKKKKKKKKKK..........
........KKKKKKKKKKKKKKKK........
......KKKKKKKKKKKKKKKKKKKK......
.....KKKK..............KKKK.....
....KK....................KK....
................................
................................
............KKKKKKKK............
.........KKKYYYYYYYYKKK.........
.......KKYYYYYYYYYYYYYYKK.......
.....KKYYYYYYYYYYYYYYYYYYKK.....
....KYYYYYYYYYYYYYYYYYYYYYYK....
...KYYYYYKKKKKKKKKKKKKKYYYYYK...
..KYYYKKKSSNWWKKKKBBNSSKKKYYYK..
.KYYKKSSSWNBWWKKKKKBBNWSSSKKYYK.
KKKKSSWWWWNBBKKKKKKBBNWWWWSSKKKK
..KKWWWWWWNBBKKKKKKBBNWWWWWWKK..
....KKWWWWNBBBKKKKBBBNWWWWKK....
......KKWWWNBBBBBBBBNWWWKK......
........KKKNBBBBBBBBNKKK........
...........KKKKKKKKKK...........
................................
................................
................................
................................
................................
"""

EYE_16 = """\
................
................
....KKKKKKKK....
..KKKKKKKKKKKK..
.KK..........KK.
................
.....KKKKKK.....
...KKYYYYYYKK...
..KYYYYYYYYYYK..
.KYYKKKKKKKKYYK.
KKKKWNBBBBNWKKKK
.KKWWNBWKBNWWKK.
...KKNBKKBNKK...
.....KNBBNK.....
......KKKK......
................
"""


# The eye as shapes, in the units of the 32 x 32 drawing: signed distances
# (negative inside) from a point to each part, topmost last.

def parabola_band(top, bottom, half=16.0, cx=16.0, base=21.5):
    """Between an upper arc peaking `top` above `base` and a lower arc
    `bottom` below it, both closing at `half` from the centre."""
    def d(x, y):
        t = (x - cx) / half
        bulge = max(0.0, 1 - t * t)
        return max(base - top * bulge - y, y - base - bottom * bulge,
                   abs(x - cx) - half)
    return d


def ellipse(cx, cy, rx, ry):
    # Scaled to the smaller radius: close enough for flat outlines.
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1) * min(rx, ry)


def eye_shapes():
    """(distance, letter or None, outline letter or None), bottom first;
    a shape without a fill letter draws only its outline."""
    outer = ellipse(16, 12, 12.5, 6)
    inner = ellipse(16, 12, 11, 3)

    def brow(x, y):
        return max(outer(x, y), -inner(x, y), y - 11)

    lid = parabola_band(9.5, 0, base=22.5)
    opening = parabola_band(3.5, 6)

    def inside(shape):
        return lambda x, y: max(shape(x, y), opening(x, y))

    # The shadow the lid casts: a band under the lid line.
    def shadow(x, y):
        lid_line = 21.5 - 3.5 * max(0.0, 1 - ((x - 16) / 16) ** 2)
        return y - lid_line - 2

    def circle(cx, cy, r):
        return lambda x, y: math.hypot(x - cx, y - cy) - r

    return [
        (brow, 'K', None),
        (lid, 'Y', 'K'),
        (opening, 'W', None),
        (inside(shadow), 'S', None),
        (inside(circle(16, 22, 6.4)), 'B', 'N'),
        (inside(circle(15.8, 21, 3)), 'K', None),
        (inside(circle(12.8, 20.2, 1.1)), 'W', None),
        (opening, None, 'K'),
    ]


def draw(size, shapes):
    """Rows of letters, '.' where nothing covers: each pixel takes the
    topmost shape over its centre, and the pixels along that shape's edge
    its outline, one pixel wide."""
    unit = 32 / size
    edge = 1
    rows = []
    for y in range(size):
        row = ''
        for x in range(size):
            letter = '.'
            for shape, fill, outline in shapes:
                d = shape((x + 0.5) * unit, (y + 0.5) * unit) / unit
                if d < 0 and outline and d > -edge:
                    letter = outline
                elif d < 0 and fill:
                    letter = fill
            row += letter
        rows.append(row)
    return rows


def dib(rows, colours):
    """One icon image: header, palette, XOR bitmap, AND mask."""
    size = len(rows)
    assert all(len(r) == size for r in rows)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         (xor_row + and_row) * size, 0, 0, 0, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom row first
        pix = [0 if c == '.' else colours[c] for c in row]
        line = bytes((pix[i] << 4) | pix[i + 1] for i in range(0, size, 2))
        xor += line + bytes(xor_row - len(line))
        bits = 0
        for c in row:
            bits = (bits << 1) | (c == '.')
        bits <<= -size % 8  # the first pixel in the top bit
        line = bits.to_bytes((size + 7) // 8, 'big')
        mask += line + bytes(and_row - len(line))
    return header + palette + bytes(xor) + bytes(mask)


# Every size an icon is asked for at 100, 125 and 150 %: small (16, 20, 24)
# and large (32, 40, 48).
SIZES = (16, 20, 24, 32, 40, 48)


def eye_rows(size):
    if size == 32:
        return EYE_32.splitlines()
    if size == 16:
        return EYE_16.splitlines()
    return draw(size, eye_shapes())


def icon_file(images):
    """A .ico file of (size, image bytes), each at 4 bits per pixel."""
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data),
                           offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


def icon(colours):
    # The 32 first, as before: programs that take the first image get it.
    order = sorted(SIZES, key=lambda s: (s != 32, s != 16, s))
    return icon_file([(s, dib(eye_rows(s), colours)) for s in order])


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_icons.py OUT_DIR')
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, colours in (('Lumeyra.ico', COLOURS),
                          ('LumeyraStop.ico', GREYS)):
        with open(os.path.join(sys.argv[1], name), 'wb') as f:
            f.write(icon(colours))


if __name__ == '__main__':
    main()
