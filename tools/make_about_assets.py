#!/usr/bin/env python3
"""Draw the About box's logo, the link cursor and the exit question's icon.

Usage: make_about_assets.py OUT_DIR

Makes, in OUT_DIR:
  eye.bmp       the logo: a 64 x 59 open eye under a brow, 4 bits per pixel
                with the standard 16-colour palette, on light grey;
  hand.cur      the link cursor: a monochrome hand whose pointing finger
                tip is the hot spot, at the top-left corner, at 32, 48 and
                64 pixels (the cursor sizes of 100, 150 and 200 %);
  question.ico  a yellow question mark in 16 colours, at each icon size
                from 16 to 48 (see make_icons.SIZES).

The eye and the question mark are drawn from simple shapes given by signed
distances (negative inside): each pixel takes the colour of the topmost
shape that covers it, and the pixels within a pixel of that shape's edge
are its outline; the question mark is drawn so at each of its sizes. The
hand is too small for that and is drawn pixel by pixel at 32; its larger
images repeat those pixels (see scale_rows), so they stay as sharp.
"""
import math
import os
import struct
import sys

from make_icons import PALETTE, SIZES, icon_file

BLACK, OLIVE, TEAL, SILVER, GREY = 0, 3, 6, 7, 8
YELLOW, CYAN, WHITE = 11, 14, 15


# Signed distances, in pixels, from a point to simple shapes.

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(1.0, max(0.0, t))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def stroke(points, r):
    """A round-ended line of half-width r through the points."""
    pairs = list(zip(points, points[1:]))
    return lambda x, y: min(segment_distance(x, y, *a, *b)
                            for a, b in pairs) - r


def paint(width, height, layers, background, unit=1.0):
    """Pixel rows of palette indices (None where nothing covers).

    layers, bottom first: (distance, fill, outline); outline None draws no
    edge. Distances are taken at pixel centres; the shapes are given in
    units of `unit` pixels' width, so that a drawing made for one size is
    drawn anew at another.
    """
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            colour = background
            for shape, fill, outline in layers:
                d = shape((x + 0.5) / unit, (y + 0.5) / unit) * unit
                if d < 0:
                    colour = outline if outline is not None and d > -1 \
                        else fill
            row.append(colour)
        rows.append(row)
    return rows


# The logo.

def eye_rows():
    cx, cy = 32.0, 38.0
    half = 27.0  # half the width of the opening, corner to corner

    def bulge(x, reach):
        t = (x - cx) / reach
        return max(0.0, 1 - t * t)

    # The opening between the lids; vertical distances suffice for curves
    # this flat.
    def opening(x, y):
        top = cy - 14 * bulge(x, half)
        bottom = cy + 11 * bulge(x, half)
        return max(top - y, y - bottom, abs(x - cx) - half)

    # The upper lid, from its crease down to the opening.
    def lid(x, y):
        crease = cy - 22 * bulge(x, half + 3) - 1
        return max(crease - y, y - (cy + 1), abs(x - cx) - half - 2)

    # An arched brow, thickest over the middle.
    def brow(x, y):
        u = (x - cx - 2) / 29
        mid = 6 + 11 * u * u
        thick = 3.2 * (1 - 0.55 * u * u)
        return max(abs(y - mid) - thick, abs(u) - 1)

    iris = circle(cx, cy - 1, 11.5)

    def inside(shape):
        return lambda x, y: max(shape(x, y), opening(x, y))

    # A silver shadow that the upper lid casts on the eyeball.
    def shadow(x, y):
        return max(opening(x, y) + 1, y - (cy - 9.5 * bulge(x, half)))

    layers = [
        (brow, BLACK, None),
        (lid, YELLOW, BLACK),
        (opening, WHITE, BLACK),
        (inside(shadow), SILVER, None),
        (inside(iris), CYAN, BLACK),
        (inside(circle(cx, cy - 1, 9)), CYAN, TEAL),
        (circle(cx, cy - 1, 5), BLACK, None),
        (circle(cx + 3, cy - 4.5, 1.7), WHITE, None),
    ]
    rows = paint(64, 59, layers, SILVER)
    # The lid line is drawn one pixel bolder than the other outlines.
    edge = [(x, y) for y in range(1, 59) for x in range(64)
            if rows[y][x] in (WHITE, SILVER) and rows[y - 1][x] == BLACK
            and lid(x + 0.5, y - 0.5) < 0 and opening(x + 0.5, y - 0.5) < 0]
    for x, y in edge:
        rows[y][x] = BLACK
    return rows


def bmp(rows):
    """A bottom-up 4-bpp Windows bitmap file."""
    height, width = len(rows), len(rows[0])
    stride = (width * 4 + 31) // 32 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytes((row[i] << 4) | (row[i + 1] if i + 1 < width else 0)
                     for i in range(0, width, 2))
        pixels += line + bytes(stride - len(line))
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0,
                       len(pixels), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


# The link cursor, drawn by hand like the program's icons: K black, W white,
# '.' transparent. The finger tip's corner is the hot spot; the thumb lies
# folded across the palm below the three bent fingers.
HAND = """\
KKKK
KWWWK
KWWWK
KWWWK
KWWWK
KWWWK
KWWWK
KWWWKKKKK
KWWWKWWWKKKKK
KWWWKWWWKWWWKKKKK
KWWWKWWWKWWWKWWWKK
KWWWKWWWKWWWKWWWWK
KWWWKWWWKWWWKWWWWK
KWWWWWWWWWWWWWWWWK
KWWWWKKKKKKKKWWWWK
KWWWKWWWWWWWWKKWWK
KWWWKWWWWWWWWWWKWK
KWWWWKKKKKWWWWWKWK
KWWWWWWWWWKKKKKWWK
.KWWWWWWWWWWWWWWWK
.KWWWWWWWWWWWWWWK
..KWWWWWWWWWWWWWK
..KWWWWWWWWWWWWK
...KWWWWWWWWWWWK
...KKKKKKKKKKKKK
...KKKKKKKKKKKKK
...KKKKKKKKKKKKK
"""


def hand_rows():
    rows = [[{'K': BLACK, 'W': WHITE}.get(c) for c in line.ljust(32, '.')]
            for line in HAND.splitlines()]
    return rows + [[None] * 32 for _ in range(32 - len(rows))]


def scale_rows(rows, size):
    """The drawing at `size`, each pixel repeated: twice at double size; at
    one and a half, every second pixel twice. A doubled pixel between two
    different ones takes the one that draws the shape rather than the one
    around it: white inside a black line keeps the line one pixel wide, and
    black against transparent keeps the outline closed."""
    rank = {WHITE: 2, BLACK: 1, None: 0}

    def stretch(line):
        out = []
        n = len(line)
        for i in range(size):
            # The first and the last source pixel this one covers.
            a = line[i * n // size]
            b = line[((i + 1) * n - 1) // size]
            out.append(a if rank[a] >= rank[b] else b)
        return out

    wide = [stretch(row) for row in rows]
    columns = [stretch([row[x] for row in wide]) for x in range(size)]
    return [[columns[x][y] for x in range(size)] for y in range(size)]


def cursor(images, hot_x, hot_y):
    """A .cur file of 1-bpp images (black, white or transparent), one for
    each drawing in `images`; the hot spot is given at 32 pixels."""
    head = struct.pack('<HHH', 0, 2, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    data = b''
    for rows in images:
        image = cursor_image(rows)
        size = len(rows)
        # A cursor directory entry: the planes and bit count replaced by the
        # hot spot.
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 2, 0,
                               hot_x * size // 32, hot_y * size // 32,
                               len(image), offset)
        offset += len(image)
        data += image
    return head + entries + data


def cursor_image(rows):
    """One 1-bpp cursor image: header, palette, XOR bitmap, AND mask."""
    size = len(rows)
    row_bytes = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        colour_bits = mask_bits = 0
        for c in row:
            colour_bits = (colour_bits << 1) | (c == WHITE)
            mask_bits = (mask_bits << 1) | (c is None)
        pad = row_bytes * 8 - size  # the first pixel in the top bit
        colour_bits <<= pad
        mask_bits <<= pad
        xor += colour_bits.to_bytes(row_bytes, 'big')
        mask += mask_bits.to_bytes(row_bytes, 'big')
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0,
                       len(xor) + len(mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return info + palette + bytes(xor) + bytes(mask)


# The exit question's icon.

def question_rows(size):
    cx, cy, r = 15.5, 11.0, 7.0
    unit = size / 32
    # The hook: from the left, over the top, round to the right and down
    # into the stem.
    hook = [(cx + r * math.cos(math.radians(a)),
             cy - r * math.sin(math.radians(a)))
            for a in range(165, -60, -15)]
    hook += [(cx + 0.5, 18.5), (cx + 0.5, 21)]
    mark = stroke(hook, 2.7)
    dot = circle(cx + 0.5, 26.5, 2.8)

    def shifted(shape, dx, dy):
        return lambda x, y: shape(x - dx, y - dy)

    layers = [
        (shifted(mark, 1.5, 1.5), GREY, None),
        (shifted(dot, 1.5, 1.5), GREY, None),
        (mark, YELLOW, BLACK),
        (dot, YELLOW, BLACK),
    ]
    rows = paint(size, size, layers, None, unit)
    # Olive on the lower right of the yellow gives the mark some depth: the
    # yellow pixels whose neighbour up and to the left lies near the edge.
    for y in range(size):
        for x in range(size):
            px, py = (x - 0.5) / unit, (y - 0.5) / unit
            if rows[y][x] == YELLOW and (
                    mark(px, py) * unit >= -0.2
                    and dot(px, py) * unit >= -0.2):
                rows[y][x] = OLIVE
    return rows


def icon(images):
    """A .ico file of 4-bpp images; None pixels are transparent."""
    return icon_file([(len(rows), icon_image(rows)) for rows in images])


def icon_image(rows):
    """One 4-bpp icon image: header, palette, XOR bitmap, AND mask."""
    size = len(rows)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        pix = [0 if c is None else c for c in row]
        line = bytes((pix[i] << 4) | pix[i + 1] for i in range(0, size, 2))
        xor += line + bytes(xor_row - len(line))
        bits = 0
        for c in row:
            bits = (bits << 1) | (c is None)
        bits <<= and_row * 8 - size  # the first pixel in the top bit
        mask += bits.to_bytes(and_row, 'big')
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    return info + palette + bytes(xor) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_about_assets.py OUT_DIR')
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in (('eye.bmp', bmp(eye_rows())),
                       ('hand.cur', cursor([scale_rows(hand_rows(), s)
                                            for s in (32, 48, 64)], 0, 0)),
                       ('question.ico', icon([question_rows(s) for s in
                                              sorted(SIZES, key=lambda s: (s != 32, s))]))):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
