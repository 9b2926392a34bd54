"""Small raster toolkit for the client's artwork: shapes with soft edges and
writers for BMP, ICO, CUR, PNG and WAVE files. Pure Python, no outside
modules, so that the artwork can be made again on any machine."""

import math
import struct
import zlib

MAGENTA = (255, 0, 255)


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def shade(c, f):
    """Lighter (f > 0) or darker (f < 0) copy of a colour."""
    if f >= 0:
        return mix(c, (255, 255, 255), f)
    return mix(c, (0, 0, 0), -f)


class Img:
    """RGBA picture with straight alpha (colour 0-255, alpha 0.0-1.0)."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        c = fill if fill is not None else (0, 0, 0)
        a = 1.0 if fill is not None else 0.0
        self.px = [[c[0], c[1], c[2], a] for _ in range(w * h)]

    # -- pixels -------------------------------------------------------------
    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c, cov=1.0):
        """Paints colour c over pixel (x, y) with coverage cov (src over)."""
        if cov <= 0 or x < 0 or y < 0 or x >= self.w or y >= self.h:
            return
        if cov > 1:
            cov = 1.0
        p = self.px[y * self.w + x]
        da = p[3]
        oa = cov + da * (1 - cov)
        if oa <= 0:
            return
        for i in range(3):
            p[i] = (c[i] * cov + p[i] * da * (1 - cov)) / oa
        p[3] = oa

    def copy(self):
        o = Img(self.w, self.h)
        o.px = [list(p) for p in self.px]
        return o

    def blit(self, src, dx, dy):
        for y in range(src.h):
            for x in range(src.w):
                p = src.get(x, y)
                if p[3] > 0:
                    self.put(dx + x, dy + y, p, p[3])

    def crop(self, x0, y0, w, h):
        o = Img(w, h)
        for y in range(h):
            for x in range(w):
                o.px[y * w + x] = list(self.get(x0 + x, y0 + y))
        return o

    # -- fills --------------------------------------------------------------
    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.put(x, y, c)

    def vgrad(self, x0, y0, x1, y1, top, bottom):
        n = max(1, y1 - y0 - 1)
        for y in range(max(0, y0), min(self.h, y1)):
            c = mix(top, bottom, (y - y0) / n)
            for x in range(max(0, x0), min(self.w, x1)):
                self.put(x, y, c)

    def hgrad(self, x0, y0, x1, y1, left, right):
        n = max(1, x1 - x0 - 1)
        for x in range(max(0, x0), min(self.w, x1)):
            c = mix(left, right, (x - x0) / n)
            for y in range(max(0, y0), min(self.h, y1)):
                self.put(x, y, c)

    # -- shapes with soft edges (signed distance, 1 px transition) ----------
    def shape(self, sdf, bbox, c, grad=None):
        x0, y0, x1, y1 = bbox
        for y in range(max(0, int(math.floor(y0)) - 1), min(self.h, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(math.floor(x0)) - 1), min(self.w, int(math.ceil(x1)) + 1)):
                d = sdf(x + 0.5, y + 0.5)
                cov = 0.5 - d
                if cov > 0:
                    col = grad(x + 0.5, y + 0.5) if grad else c
                    self.put(x, y, col, min(1.0, cov))

    def circle(self, cx, cy, r, c, grad=None):
        self.shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r), c, grad)

    def ring(self, cx, cy, r, width, c):
        self.shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2,
                   (cx - r - width, cy - r - width, cx + r + width, cy + r + width), c)

    def arc(self, cx, cy, r, width, a0, a1, c):
        """Ring segment from angle a0 to a1 (degrees, counter-clockwise, y down)."""
        def sdf(x, y):
            ang = math.degrees(math.atan2(cy - y, x - cx)) % 360
            lo, hi = a0 % 360, a1 % 360
            inside = (lo <= ang <= hi) if lo <= hi else (ang >= lo or ang <= hi)
            if inside:
                return abs(math.hypot(x - cx, y - cy) - r) - width / 2
            ends = []
            for a in (a0, a1):
                ex = cx + r * math.cos(math.radians(a))
                ey = cy - r * math.sin(math.radians(a))
                ends.append(math.hypot(x - ex, y - ey) - width / 2)
            return min(ends)
        self.shape(sdf, (cx - r - width, cy - r - width, cx + r + width, cy + r + width), c)

    def rrect(self, x0, y0, x1, y1, r, c, grad=None):
        """Rounded rectangle covering [x0, x1) x [y0, y1)."""
        hx, hy = (x1 - x0) / 2, (y1 - y0) / 2
        cx, cy = x0 + hx, y0 + hy

        def sdf(x, y):
            qx = abs(x - cx) - (hx - r)
            qy = abs(y - cy) - (hy - r)
            return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
        self.shape(sdf, (x0, y0, x1, y1), c, grad)

    def rrect_v(self, x0, y0, x1, y1, r, top, bottom):
        """Rounded rectangle with a vertical gradient."""
        self.rrect(x0, y0, x1, y1, r, top, lambda x, y: mix(top, bottom, (y - y0) / max(1, y1 - y0)))

    def frame_rrect(self, x0, y0, x1, y1, r, width, c):
        hx, hy = (x1 - x0) / 2, (y1 - y0) / 2
        cx, cy = x0 + hx, y0 + hy

        def sdf(x, y):
            qx = abs(x - cx) - (hx - r)
            qy = abs(y - cy) - (hy - r)
            d = math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
            return abs(d + width / 2) - width / 2
        self.shape(sdf, (x0, y0, x1, y1), c)

    def seg(self, ax, ay, bx, by, width, c):
        """Line from a to b with round caps."""
        def sdf(x, y):
            vx, vy = bx - ax, by - ay
            L = vx * vx + vy * vy
            t = 0 if L == 0 else max(0, min(1, ((x - ax) * vx + (y - ay) * vy) / L))
            return math.hypot(x - (ax + t * vx), y - (ay + t * vy)) - width / 2
        self.shape(sdf, (min(ax, bx) - width, min(ay, by) - width, max(ax, bx) + width, max(ay, by) + width), c)

    def poly(self, pts, c):
        """Filled polygon (any simple polygon)."""
        n = len(pts)

        def sdf(x, y):
            d = float('inf')
            inside = False
            for i in range(n):
                ax, ay = pts[i]
                bx, by = pts[(i + 1) % n]
                vx, vy = bx - ax, by - ay
                L = vx * vx + vy * vy
                t = 0 if L == 0 else max(0, min(1, ((x - ax) * vx + (y - ay) * vy) / L))
                d = min(d, math.hypot(x - (ax + t * vx), y - (ay + t * vy)))
                if (ay > y) != (by > y) and x < ax + (y - ay) * vx / vy:
                    inside = not inside
            return -d if inside else d
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.shape(sdf, (min(xs), min(ys), max(xs), max(ys)), c)

    # -- output forms ---------------------------------------------------------
    def flatten(self, bg):
        """Opaque copy over background colour bg."""
        o = Img(self.w, self.h)
        for i, p in enumerate(self.px):
            a = p[3]
            o.px[i] = [p[0] * a + bg[0] * (1 - a), p[1] * a + bg[1] * (1 - a), p[2] * a + bg[2] * (1 - a), 1.0]
        return o

    def keyed(self, key=MAGENTA, edge=None):
        """Opaque copy where pixels less than half covered become the key colour.
        Edge pixels are blended with the colour `edge` (the background the
        picture is meant to sit on), so soft edges do not turn pink."""
        o = Img(self.w, self.h)
        for i, p in enumerate(self.px):
            a = p[3]
            if a < 0.5:
                o.px[i] = [key[0], key[1], key[2], 1.0]
            elif edge is not None and a < 1:
                o.px[i] = [p[0] * a + edge[0] * (1 - a), p[1] * a + edge[1] * (1 - a),
                           p[2] * a + edge[2] * (1 - a), 1.0]
            else:
                o.px[i] = [p[0], p[1], p[2], 1.0]
        return o


def hstrip(images):
    """Joins pictures of equal height side by side."""
    w = sum(i.w for i in images)
    h = images[0].h
    o = Img(w, h)
    x = 0
    for im in images:
        for yy in range(h):
            for xx in range(im.w):
                o.px[yy * w + x + xx] = list(im.get(xx, yy))
        x += im.w
    return o


# ---------------------------------------------------------------------------
# Writers

def _rgb(p):
    return (max(0, min(255, int(round(p[0])))), max(0, min(255, int(round(p[1])))),
            max(0, min(255, int(round(p[2])))))


def bmp24(img):
    row = (img.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(img.h - 1, -1, -1):
        line = bytearray()
        for x in range(img.w):
            r, g, b = _rgb(img.get(x, y))
            line += bytes((b, g, r))
        line += b'\0' * (row - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    return head + info + bytes(data)


def bmp8(img):
    """8-bit palette BMP; the picture must hold at most 256 colours."""
    colours = {}
    idx = []
    for y in range(img.h - 1, -1, -1):
        for x in range(img.w):
            c = _rgb(img.get(x, y))
            if c not in colours:
                colours[c] = len(colours)
            idx.append(colours[c])
    if len(colours) > 256:
        raise ValueError('more than 256 colours')
    row = (img.w + 3) & ~3
    data = bytearray()
    for y in range(img.h):
        line = bytes(idx[y * img.w:(y + 1) * img.w])
        data += line + b'\0' * (row - img.w)
    pal = bytearray()
    for c, _ in sorted(colours.items(), key=lambda kv: kv[1]):
        pal += bytes((c[2], c[1], c[0], 0))
    n = len(colours)
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h, 1, 8, 0, len(data), 2835, 2835, n, 0)
    off = 14 + 40 + len(pal)
    head = struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off)
    return head + info + bytes(pal) + bytes(data)


def quantize(img, levels=32):
    """Rounds colours to a coarse grid so that a picture fits into 256 colours."""
    o = img.copy()
    step = 255 / (levels - 1)
    for p in o.px:
        for i in range(3):
            p[i] = round(round(p[i] / step) * step)
    return o


def _dib32(img):
    """BITMAPINFOHEADER, BGRA rows bottom-up and a 1-bit AND mask: one icon image."""
    xor = bytearray()
    for y in range(img.h - 1, -1, -1):
        for x in range(img.w):
            p = img.get(x, y)
            r, g, b = _rgb(p)
            xor += bytes((b, g, r, int(round(p[3] * 255))))
    mrow = ((img.w + 31) // 32) * 4
    mask = bytearray()
    for y in range(img.h - 1, -1, -1):
        bits = bytearray(mrow)
        for x in range(img.w):
            if img.get(x, y)[3] < 0.5:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, img.w, img.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(images, cursor_hotspot=None):
    kind = 2 if cursor_hotspot else 1
    head = struct.pack('<HHH', 0, kind, len(images))
    entries = bytearray()
    blobs = bytearray()
    off = 6 + 16 * len(images)
    for im in images:
        blob = _dib32(im)
        if cursor_hotspot:
            a, b = cursor_hotspot
        else:
            a, b = 1, 32
        entries += struct.pack('<BBBBHHII', im.w % 256, im.h % 256, 0, 0, a, b, len(blob), off)
        blobs += blob
        off += len(blob)
    return head + bytes(entries) + bytes(blobs)


def png(img):
    raw = bytearray()
    for y in range(img.h):
        raw.append(0)
        for x in range(img.w):
            p = img.get(x, y)
            r, g, b = _rgb(p)
            raw += bytes((r, g, b, int(round(p[3] * 255))))

    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', img.w, img.h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def wave(samples, rate):
    """16-bit mono PCM from samples in -1.0 .. 1.0."""
    data = b''.join(struct.pack('<h', int(max(-1, min(1, s)) * 32000)) for s in samples)
    fmt = struct.pack('<HHIIHH', 1, 1, rate, rate * 2, 2, 16)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


# ---------------------------------------------------------------------------
# A 5 x 7 pixel font for the few Latin words the artwork carries (logos).

FONT = {
    'Y': ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    '3': ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    '6': ["01110", "10000", "10000", "11110", "10001", "10001", "01110"],
    '0': ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    ' ': ["00000"] * 7,
}


def text_width(s, scale):
    return len(s) * 6 * scale - scale


def draw_text(img, s, x, y, scale, c):
    """Pixel-font text with rounded dots; (x, y) is the top-left corner."""
    for ch in s:
        rows = FONT[ch]
        for ry, line in enumerate(rows):
            for rx, bit in enumerate(line):
                if bit == '1':
                    img.rrect(x + rx * scale, y + ry * scale, x + (rx + 1) * scale, y + (ry + 1) * scale,
                              scale * 0.3, c)
        x += 6 * scale
