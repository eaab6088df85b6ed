#!/usr/bin/env python3
"""Draws the program's icons and writes them as PNG files and one .ico.

The pictures are made of a few shapes, each a function that tells how much
of a point it covers; every pixel is sampled 8x8 times, which anti-aliases
the edges. Run it from anywhere: it writes beside itself.

  aceptar.png, cancelar.png, carpeta.png  16x16, the toolbar images
  banner.png                              32x32, the banner picture
  *@2x.png                                the same at twice the size, for
                                          screens scaled by two
  ruror-16.png, ruror-32.png, ruror-48.png, ruror-256.png  the window icon
  aceptar.ico, cancelar.ico, carpeta.ico, banner.ico  the same for the Windows window
  ruror.ico  the window icon with seven images: 16x16 at 256 colours;
             48, 32, 16 at 24-bit colour; 48, 32, 16 at 32-bit colour
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 8
# The toolbars' background, for the images without partial transparency.
FACE = (240, 240, 240)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def segment(ax, ay, bx, by, width):
    """A stroke from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def arc(cx, cy, r, width, start, end):
    """A ring stroke from angle start to end, in degrees, counter-clockwise."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - start) % 360 <= (end - start) % 360
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def render(size, layers):
    """layers: (shape in a 0..1 square, (r, g, b)) from the bottom up. Returns RGBA rows."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for shape, fill in layers:
                        if shape(x, y):
                            colour = fill
                    if colour:
                        r += colour[0]; g += colour[1]; b += colour[2]; a += 1
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def on_face(pixels):
    """Blends the edges with the toolbar face and keeps a one-bit mask, as a
    24-bit icon with its transparency mask shows."""
    out = []
    for row in pixels:
        new = []
        for r, g, b, a in row:
            if a < 96:
                new.append((0, 0, 0, 0))
            else:
                k = a / 255
                new.append(tuple(round(c * k + f * (1 - k)) for c, f in zip((r, g, b), FACE)) + (255,))
        out.append(new)
    return out


# The pictures, drawn in a unit square.

GREEN, DARK_GREEN = (46, 160, 67), (24, 110, 40)
RED, DARK_RED = (214, 48, 49), (150, 24, 24)
FOLDER, FOLDER_DARK, FOLDER_LIGHT = (240, 190, 60), (190, 135, 20), (255, 218, 110)
DISK, DISK_DARK, DISK_TOP = (52, 112, 190), (30, 70, 130), (120, 170, 230)
WHITE = (255, 255, 255)


def check_mark():
    stroke = lambda w: union(segment(0.16, 0.55, 0.40, 0.78, w), segment(0.40, 0.78, 0.86, 0.24, w))
    return [(stroke(0.24), DARK_GREEN), (stroke(0.15), GREEN)]


def cross():
    stroke = lambda w: union(segment(0.22, 0.22, 0.78, 0.78, w), segment(0.78, 0.22, 0.22, 0.78, w))
    return [(stroke(0.25), DARK_RED), (stroke(0.16), RED)]


def folder():
    back = union(rect(0.06, 0.26, 0.94, 0.86), polygon([(0.06, 0.28), (0.10, 0.16), (0.40, 0.16), (0.46, 0.28)]))
    front = polygon([(0.06, 0.86), (0.16, 0.42), (0.98, 0.42), (0.90, 0.86)])
    return [(back, FOLDER_DARK), (minus(back, union(rect(0.0, 0.0, 0.10, 1.0), rect(0.0, 0.0, 1.0, 0.20))), FOLDER),
            (front, FOLDER_DARK), (polygon([(0.11, 0.83), (0.19, 0.46), (0.93, 0.46), (0.87, 0.83)]), FOLDER_LIGHT)]


def backup():
    """A database drum with a green arrow turning round it: the data kept safe."""
    body = union(rect(0.12, 0.20, 0.68, 0.76), ellipse(0.40, 0.76, 0.28, 0.10))
    top = ellipse(0.40, 0.20, 0.28, 0.10)
    bands = union(arc(0.40, 0.40, 0.28, 0.035, 200, 340), arc(0.40, 0.58, 0.28, 0.035, 200, 340))
    ring = arc(0.70, 0.70, 0.21, 0.11, 110, 20)
    head = polygon([(0.93, 0.55), (0.97, 0.80), (0.76, 0.66)])
    badge = disc(0.70, 0.70, 0.30)
    return [(body, DISK_DARK), (minus(body, union(rect(0.0, 0.0, 0.15, 1.0), rect(0.65, 0.0, 1.0, 1.0))), DISK),
            (bands, DISK_DARK), (ellipse(0.40, 0.20, 0.28, 0.10), DISK_DARK), (ellipse(0.40, 0.20, 0.25, 0.08), DISK_TOP),
            (badge, WHITE), (union(ring, head), DARK_GREEN),
            (union(arc(0.70, 0.70, 0.21, 0.06, 115, 15), polygon([(0.92, 0.59), (0.94, 0.76), (0.80, 0.67)])), GREEN)]


# File writers.

def png(path, pixels, alpha=True):
    size = len(pixels)
    colour_type, channels = (6, 4) if alpha else (2, 3)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p[:channels]) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, colour_type, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def web_palette():
    levels = [0, 51, 102, 153, 204, 255]
    palette = [(r, g, b) for r in levels for g in levels for b in levels]
    palette += [(v, v, v) for v in range(8, 248, 6)][:40]
    return palette


def and_mask(pixels):
    size = len(pixels)
    stride = ((size + 31) // 32) * 4
    out = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def dib(pixels, bits):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    body = b""
    if bits == 8:
        palette = web_palette()
        header += b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
        nearest = {}
        for row in reversed(pixels):
            line = bytearray()
            for r, g, b, a in row:
                key = (r, g, b)
                if key not in nearest:
                    nearest[key] = min(range(len(palette)),
                                       key=lambda i: sum((c - q) ** 2 for c, q in zip(key, palette[i])))
                line.append(nearest[key] if a >= 128 else 0)
            body += bytes(line) + bytes(-len(line) % 4)
    else:
        for row in reversed(pixels):
            if bits == 24:
                line = b"".join(struct.pack("BBB", b, g, r) for r, g, b, a in row)
            else:
                line = b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in row)
            body += line + bytes(-len(line) % 4)
    return header + body + and_mask(pixels)


def ico(path, images):
    """images: (pixels, bits) in the order they are listed."""
    entries, data = b"", b""
    offset = 6 + 16 * len(images)
    for pixels, bits in images:
        blob = dib(pixels, bits)
        size = len(pixels)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0 if bits != 8 else 0, 0, 1, bits, len(blob), offset)
        data += blob
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + data)


def main():
    out = lambda name: os.path.join(HERE, name)
    for name, picture in (("aceptar", check_mark), ("cancelar", cross), ("carpeta", folder)):
        png(out(name + ".png"), on_face(render(16, picture())))
        png(out(name + "@2x.png"), render(32, picture()))
        # The Windows image list's: 16x16 at 24-bit colour, and twice the size for high DPI.
        ico(out(name + ".ico"), [(on_face(render(16, picture())), 24), (render(32, picture()), 32)])
    png(out("banner.png"), on_face(render(32, backup())))
    png(out("banner@2x.png"), render(64, backup()))
    ico(out("banner.ico"), [(on_face(render(32, backup())), 24), (render(64, backup()), 32)])
    sizes = {size: render(size, backup()) for size in (16, 32, 48, 256)}
    for size, pixels in sizes.items():
        png(out("ruror-%d.png" % size), pixels)
    flat = {size: on_face(pixels) for size, pixels in sizes.items()}
    ico(out("ruror.ico"), [(flat[16], 8), (flat[48], 24), (flat[32], 24), (flat[16], 24),
                           (sizes[48], 32), (sizes[32], 32), (sizes[16], 32)])


if __name__ == "__main__":
    main()
