#!/usr/bin/env python3
"""Write the blinking-eyes animation as an AVI, for one display scale.

Usage: make_eyes_avi.py OUTPUT.avi [DPI]

The animation control (SysAnimate32) only plays uncompressed or RLE8 DIB
streams without a codec.  At 96 dpi (the default) every frame is stored as
a raw 24-bit BI_RGB bitmap.  At any other DPI the eyes are drawn anew at
that scale (not stretched) and stored as RLE8 with a palette made for the
clip: the grey field compresses to a few bytes a row, and a scale's clip
stays a fraction of what raw frames would take.  Rows are stored bottom
row first and biHeight is positive: the control accepts a top-down
(negative height) stream but then paints nothing.  The file carries an
'idx1' index because the control looks the frames up through it.

Each eye is drawn from simple shapes with distance-based edge coverage, so
the edges are antialiased without supersampling and the output is the same
bytes on every run.
"""
import math
import struct
import sys

FRAMES = 27
USEC_PER_FRAME = 83000


def scaled(logical, dpi):
    """Logical pixels (those at 96 dpi) at `dpi`, rounded to the nearest,
    as the program scales its outline."""
    return (logical * dpi + 48) // 96


# The drawing is in logical pixels; SCALE pixels make one.  Set by main().
SCALE = 1.0
WIDTH, HEIGHT = 200, 71

BACKGROUND = (192, 192, 192)
SKIN = (238, 196, 166)
LID_SKIN = (226, 178, 146)
CREASE = (196, 140, 112)
LINE = (52, 30, 24)
SCLERA = (250, 250, 248)
CARUNCLE = (236, 160, 156)
IRIS_IN = (120, 178, 232)
IRIS_OUT = (36, 84, 160)
LIMBUS = (20, 40, 80)
PUPIL = (12, 12, 16)
HIGHLIGHT = (255, 255, 255)

# The window shows the frame shifted by 3 px, so these land in the middle
# of the two lens openings of the spectacles outline.
EYE_CENTRES = ((50.5, 35.5, -1), (150.5, 35.5, 1))  # x, y, outer-corner side
HALF_W, UP_H, LO_H = 27.0, 13.0, 10.0
SOCKET_RX, SOCKET_RY = 33.0, 19.0
IRIS_R, PUPIL_R = 9.5, 4.0

# Openness of the upper lid per frame: open for most of the loop, then a
# three-frame close, two closed frames and a three-frame open.
BLINK = {18: 0.7, 19: 0.4, 20: 0.12, 21: 0.0, 22: 0.04,
         23: 0.2, 24: 0.5, 25: 0.8}


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def cover(d):
    """Fraction of a pixel inside a shape whose signed distance (in logical
    pixels) is d: the edge is one device pixel wide at every scale."""
    return clamp01((0.5 / SCALE - d) * SCALE)


def stroke(d, width):
    return clamp01((width / 2 + 0.5 / SCALE - abs(d)) * SCALE)


def fade_in(inside, pad):
    """1 where `inside` (logical pixels) exceeds -pad, over one device pixel."""
    return clamp01((inside + pad / SCALE) * SCALE)


def arc(u):
    """Shape of the lid curves across the eye, u in -1..1; the slight bulge
    over a parabola rounds the almond without losing the pointed corners."""
    v = 1.0 - u * u
    return v * (1.0 + 0.35 * v) / 1.35


def arc_slope(u):
    v = 1.0 - u * u
    return -2.0 * u * (1.0 + 0.7 * v) / 1.35


def curve_distance(dx, dy, height, sign):
    """Signed vertical-gradient distance from (dx, dy) to the curve
    dy = sign*height*arc(dx/HALF_W); positive on the far side from the
    eye centre."""
    u = max(-1.0, min(1.0, dx / HALF_W))
    y = sign * height * arc(u)
    slope = sign * height * arc_slope(u) / HALF_W
    return sign * (dy - y) / math.sqrt(1.0 + slope * slope)


def seg_distance(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = clamp01(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy))
    return math.hypot(px - ax - vx * t, py - ay - vy * t)


def lid_height(u, openness):
    """Height of the upper lid edge above the centre line (negative means
    below); closing moves it down to the lower lid."""
    return UP_H * arc(u) * openness - LO_H * arc(u) * (1.0 - openness)


def lashes(openness, side):
    """Line segments for the upper lashes: pointing up and outwards when
    open, hanging down from the lid line when closed."""
    out = []
    for i, u in enumerate((-0.55, -0.2, 0.15, 0.45, 0.7, 0.88)):
        u *= side  # spread the longer lashes towards the outer corner
        x = u * HALF_W
        y = -lid_height(u, openness)
        length = 3.0 + 0.6 * i
        ang = math.radians(20 + 12 * i)  # tilt away from the nose
        up = 2.0 * openness - 1.0
        dx = side * math.sin(ang) * length
        dy = -up * math.cos(ang) * length
        out.append((x, y, x + dx, y + dy))
    return out


def eye_colour(dx, dy, openness, gx, gy, side, lash_segs):
    """Colour of one pixel at offset (dx, dy) from an eye centre."""
    sock = cover((math.hypot(dx / SOCKET_RX, dy / SOCKET_RY) - 1.0)
                 * SOCKET_RY)
    col = mix(BACKGROUND, SKIN, sock)
    # The upper lid skin is a touch darker, with a soft upper edge, so the
    # lid reads as a lid when it sweeps down over the eye.
    lid_zone = clamp01(-curve_distance(dx, dy, UP_H + 7.0, -1) / 5.0) * cover(
        curve_distance(dx, dy, LO_H, 1))
    col = mix(col, LID_SKIN, lid_zone * sock * 0.8)
    # Crease fades as the lid stretches shut.
    crease = stroke(curve_distance(dx, dy, UP_H + 4.5, -1), 1.0)
    col = mix(col, CREASE, crease * 0.6 * openness * clamp01(
        (HALF_W - abs(dx)) / 6.0))

    outer = max(curve_distance(dx, dy, UP_H, -1),
                curve_distance(dx, dy, LO_H, 1), abs(dx) - HALF_W)
    u = max(-1.0, min(1.0, dx / HALF_W))
    lid_y = -lid_height(u, openness)
    lid_d = (lid_y - dy)  # positive above the lid edge
    visible = cover(outer) * cover(lid_d)
    if visible > 0.0:
        # Sclera, shaded under the lid and pinker at the inner corner.
        inner = mix(SCLERA, CARUNCLE,
                    clamp01((dx * -side - HALF_W + 7.0) / 6.0))
        inner = mix(inner, (200, 196, 196), clamp01(1.0 - (dy - lid_y) / 5.0)
                    * 0.5)
        ix, iy = dx - gx, dy - gy
        r = math.hypot(ix, iy)
        iris = mix(IRIS_IN, IRIS_OUT, clamp01(r / IRIS_R) ** 1.5)
        # Fine radial streaks give the iris some texture.
        iris = mix(iris, IRIS_OUT, 0.25 * (0.5 + 0.5 * math.sin(
            11 * math.atan2(iy, ix))) * clamp01(r / PUPIL_R - 1.0))
        iris = mix(iris, LIMBUS, stroke(r - IRIS_R + 0.6, 1.2))
        inner = mix(inner, iris, cover(r - IRIS_R))
        inner = mix(inner, PUPIL, cover(r - PUPIL_R))
        inner = mix(inner, HIGHLIGHT,
                    cover(math.hypot(ix + 2.6, iy + 2.8) - 1.8))
        inner = mix(inner, HIGHLIGHT,
                    0.7 * cover(math.hypot(ix - 3.0, iy - 3.2) - 0.8))
        col = mix(col, inner, visible)

    # Lower lid outline, thinner than the lash line above it.
    lower = curve_distance(dx, dy, LO_H, 1)
    col = mix(col, mix(LINE, CREASE, 0.5),
              stroke(lower, 1.0) * fade_in(HALF_W - abs(dx), 0.5))
    # Lash line along the moving lid edge.
    slope = (UP_H * openness - LO_H * (1.0 - openness)) * arc_slope(u) / HALF_W
    edge = lid_d / math.sqrt(1.0 + slope * slope)
    col = mix(col, LINE, stroke(edge, 2.0) * fade_in(HALF_W - abs(dx), 0.8))
    for ax, ay, bx, by in lash_segs:
        col = mix(col, LINE, stroke(seg_distance(dx, dy, ax, ay, bx, by), 0.9))
    return col


def render_frame(index):
    """The frame's pixels, top row first, as (r, g, b) floats."""
    openness = BLINK.get(index, 1.0)
    # The gaze wanders on a small ellipse so that no two frames match.
    phase = 2.0 * math.pi * index / FRAMES
    gx, gy = 6.0 * math.sin(phase), 1.5 * math.cos(phase)
    rows = [[BACKGROUND] * WIDTH for _ in range(HEIGHT)]
    for cx, cy, side in EYE_CENTRES:
        segs = lashes(openness, side)
        for y in range(int((cy - SOCKET_RY - 2) * SCALE),
                       int((cy + SOCKET_RY + 3) * SCALE)):
            row = rows[y]
            for x in range(int((cx - SOCKET_RX - 2) * SCALE),
                           int((cx + SOCKET_RX + 3) * SCALE)):
                row[x] = eye_colour((x + 0.5) / SCALE - cx,
                                    (y + 0.5) / SCALE - cy, openness,
                                    gx, gy, side, segs)
    return [[tuple(int(c + 0.5) for c in px) for px in row] for row in rows]


def rgb24(rows):
    """A bottom-up 24-bit DIB."""
    row_bytes = (WIDTH * 3 + 3) & ~3
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        out += line + bytes(row_bytes - len(line))
    return bytes(out)


def make_palette(frames):
    """256 colours for the clip, by median cut over every frame's pixels
    weighted by how often they occur; the grey field keeps its exact
    colour so that it matches the window around it."""
    counts = {}
    for rows in frames:
        for row in rows:
            for px in row:
                counts[px] = counts.get(px, 0) + 1
    counts.pop(BACKGROUND, None)
    def widest(box):
        """The box's largest extent in one channel, and that channel."""
        return max((max(c[i] for c in box) - min(c[i] for c in box), i)
                   for i in range(3))

    boxes = [(widest(list(counts)), list(counts))]
    while len(boxes) < 255:
        (extent, axis), box = max(boxes, key=lambda b: b[0])
        if extent == 0:
            break
        boxes.remove(((extent, axis), box))
        box.sort(key=lambda c: c[axis])
        total, half, cut = sum(counts[c] for c in box), 0, 0
        for cut, c in enumerate(box):
            half += counts[c]
            if half * 2 >= total:
                break
        cut = max(1, min(len(box) - 1, cut))
        boxes += [(widest(part), part) for part in (box[:cut], box[cut:])]
    palette = [BACKGROUND]
    lookup = {BACKGROUND: 0}
    for _, box in boxes:
        weight = sum(counts[c] for c in box)
        palette.append(tuple(int(sum(c[i] * counts[c] for c in box) / weight
                                 + 0.5) for i in range(3)))
        for c in box:
            lookup[c] = len(palette) - 1
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, lookup


def rle8(rows, lookup):
    """A bottom-up BI_RLE8 bitmap: runs of one index as (count, index),
    other stretches of three or more as absolute runs padded to a word."""
    out = bytearray()
    for row in reversed(rows):
        line = [lookup[px] for px in row]
        i = 0
        while i < len(line):
            run = 1
            while i + run < len(line) and run < 255 and line[i + run] == line[i]:
                run += 1
            if run >= 3 or len(line) - i < 3:
                out += bytes((run, line[i]))
                i += run
                continue
            # Literal pixels up to where a run of three begins.
            j = i
            while j < len(line) and j - i < 255 and not (
                    j + 2 < len(line) and line[j] == line[j + 1] == line[j + 2]):
                j += 1
            if j - i < 3:
                out += bytes((1, line[i]))
                i += 1
                continue
            out += bytes((0, j - i)) + bytes(line[i:j])
            if (j - i) & 1:
                out += b'\0'
            i = j
        out += b'\0\0'  # end of line
    out[-1] = 1  # the last end of line becomes the end of the bitmap
    return bytes(out)


def chunk(fourcc, data):
    return fourcc + struct.pack('<I', len(data)) + data + (
        b'\0' if len(data) & 1 else b'')


def riff_list(kind, fourcc, body):
    return chunk(kind, fourcc + body)


def build_avi(compressed):
    pictures = [render_frame(i) for i in range(FRAMES)]
    if compressed:
        palette, lookup = make_palette(pictures)
        frames = [rle8(rows, lookup) for rows in pictures]
        colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
        handler, chunk_id, bits, compression = b'RLE ', b'00dc', 8, 1
    else:
        frames = [rgb24(rows) for rows in pictures]
        colours = b''
        handler, chunk_id, bits, compression = b'DIB ', b'00db', 24, 0
    # The control reads this many bytes for every frame.
    largest = max(len(f) for f in frames)
    avih = struct.pack('<14I', USEC_PER_FRAME, largest * 1000000 //
                       USEC_PER_FRAME, 0, 0x10, FRAMES, 0, 1, largest,
                       WIDTH, HEIGHT, 0, 0, 0, 0)  # 0x10: AVIF_HASINDEX
    strh = struct.pack('<4s4sIHHIIIIIIII4h', b'vids', handler, 0, 0, 0, 0,
                       83, 1000, 0, FRAMES, largest, 0xFFFFFFFF, 0,
                       0, 0, WIDTH, HEIGHT)
    strf = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, bits,
                       compression, largest, 0, 0,
                       256 if compressed else 0, 0) + colours
    hdrl = riff_list(b'LIST', b'hdrl', chunk(b'avih', avih) + riff_list(
        b'LIST', b'strl', chunk(b'strh', strh) + chunk(b'strf', strf)))
    movi = bytearray()
    index = bytearray()
    for data in frames:
        # Offsets count from the 'movi' fourcc, which is 4 bytes before
        # the first chunk.
        index += struct.pack('<4sIII', chunk_id, 0x10, 4 + len(movi),
                             len(data))
        movi += chunk(chunk_id, data)
    body = hdrl + riff_list(b'LIST', b'movi', bytes(movi)) + chunk(
        b'idx1', bytes(index))
    return riff_list(b'RIFF', b'AVI ', body)


def main():
    global SCALE, WIDTH, HEIGHT
    if len(sys.argv) not in (2, 3):
        sys.exit('usage: make_eyes_avi.py OUTPUT.avi [DPI]')
    dpi = int(sys.argv[2]) if len(sys.argv) == 3 else 96
    SCALE = dpi / 96
    WIDTH, HEIGHT = scaled(200, dpi), scaled(71, dpi)
    with open(sys.argv[1], 'wb') as f:
        f.write(build_avi(dpi != 96))


if __name__ == '__main__':
    main()
