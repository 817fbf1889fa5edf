#!/usr/bin/env python3
"""Write the program's two icons as 16-colour .ico files.

Usage: make_icons.py OUT_DIR

Makes OUT_DIR/Lumeyra.ico (the normal icon) and OUT_DIR/LumeyraStop.ico
(the same eye in greys, shown while the timer is stopped).  Each file holds
a 32 x 32 and a 16 x 16 image at 4 bits per pixel with the standard Windows
16-colour palette, which every Windows and Wine version can draw.  An icon
image is a bottom-up DIB whose stated height is twice the real one because
the colour (XOR) bitmap is followed by a 1-bpp AND mask; mask bit 1 with
colour 0 leaves the pixel transparent.

The eye is drawn by hand at both sizes: a scaled-down 32 x 32 eye turns to
mush at 16 x 16.
"""
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
        line = bits.to_bytes(size // 8, 'big')
        mask += line + bytes(and_row - len(line))
    return header + palette + bytes(xor) + bytes(mask)


def icon(colours):
    images = [(32, dib(EYE_32.splitlines(), colours)),
              (16, dib(EYE_16.splitlines(), colours))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data),
                           offset)
        offset += len(data)
    return out + b''.join(data for _, data in images)


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
