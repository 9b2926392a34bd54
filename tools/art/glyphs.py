"""Glyphs of the client's skin: each draws one symbol into the box (x, y, s, s)
of a picture in one colour."""

import math


def close(img, x, y, s, c):
    m, w = s * 0.28, max(1.4, s * 0.14)
    img.seg(x + m, y + m, x + s - m, y + s - m, w, c)
    img.seg(x + s - m, y + m, x + m, y + s - m, w, c)


def minimise(img, x, y, s, c):
    w = max(1.6, s * 0.14)
    img.seg(x + s * 0.28, y + s * 0.68, x + s * 0.72, y + s * 0.68, w, c)


def maximise(img, x, y, s, c):
    img.frame_rrect(x + s * 0.25, y + s * 0.25, x + s * 0.75, y + s * 0.72, 1, max(1.4, s * 0.1), c)
    img.rect(int(x + s * 0.25), int(y + s * 0.25), int(x + s * 0.75), int(y + s * 0.25) + 2, c)


def restore(img, x, y, s, c):
    w = max(1.2, s * 0.09)
    img.frame_rrect(x + s * 0.34, y + s * 0.2, x + s * 0.78, y + s * 0.58, 1, w, c)
    img.rect(int(x + s * 0.2), int(y + s * 0.38), int(x + s * 0.64), int(y + s * 0.78), (0, 0, 0))
    img.frame_rrect(x + s * 0.2, y + s * 0.38, x + s * 0.64, y + s * 0.78, 1, w, c)


def menu(img, x, y, s, c):
    w = max(1.4, s * 0.1)
    for k in (0.32, 0.5, 0.68):
        img.seg(x + s * 0.26, y + s * k, x + s * 0.6, y + s * k, w, c)
    img.poly([(x + s * 0.66, y + s * 0.44), (x + s * 0.84, y + s * 0.44), (x + s * 0.75, y + s * 0.56)], c)


def mini(img, x, y, s, c):
    w = max(1.3, s * 0.09)
    img.frame_rrect(x + s * 0.22, y + s * 0.3, x + s * 0.78, y + s * 0.7, 1.5, w, c)
    img.rect(int(x + s * 0.3), int(y + s * 0.47), int(x + s * 0.7), int(y + s * 0.55), c)


def play(img, x, y, s, c):
    img.poly([(x + s * 0.34, y + s * 0.22), (x + s * 0.78, y + s * 0.5), (x + s * 0.34, y + s * 0.78)], c)


def pause(img, x, y, s, c):
    img.rrect(x + s * 0.3, y + s * 0.24, x + s * 0.43, y + s * 0.76, 1, c)
    img.rrect(x + s * 0.57, y + s * 0.24, x + s * 0.7, y + s * 0.76, 1, c)


def stop(img, x, y, s, c):
    img.rrect(x + s * 0.28, y + s * 0.28, x + s * 0.72, y + s * 0.72, 1.5, c)


def prev(img, x, y, s, c):
    img.rect(int(x + s * 0.22), int(y + s * 0.28), int(x + s * 0.22) + max(2, int(s * 0.08)), int(y + s * 0.72), c)
    img.poly([(x + s * 0.55, y + s * 0.28), (x + s * 0.31, y + s * 0.5), (x + s * 0.55, y + s * 0.72)], c)
    img.poly([(x + s * 0.8, y + s * 0.28), (x + s * 0.56, y + s * 0.5), (x + s * 0.8, y + s * 0.72)], c)


def next_(img, x, y, s, c):
    img.rect(int(x + s * 0.78) - max(2, int(s * 0.08)), int(y + s * 0.28), int(x + s * 0.78), int(y + s * 0.72), c)
    img.poly([(x + s * 0.45, y + s * 0.28), (x + s * 0.69, y + s * 0.5), (x + s * 0.45, y + s * 0.72)], c)
    img.poly([(x + s * 0.2, y + s * 0.28), (x + s * 0.44, y + s * 0.5), (x + s * 0.2, y + s * 0.72)], c)


def arrow_left(img, x, y, s, c):
    w = max(1.6, s * 0.12)
    img.seg(x + s * 0.25, y + s * 0.5, x + s * 0.75, y + s * 0.5, w, c)
    img.seg(x + s * 0.25, y + s * 0.5, x + s * 0.47, y + s * 0.28, w, c)
    img.seg(x + s * 0.25, y + s * 0.5, x + s * 0.47, y + s * 0.72, w, c)


def arrow_right(img, x, y, s, c):
    w = max(1.6, s * 0.12)
    img.seg(x + s * 0.25, y + s * 0.5, x + s * 0.75, y + s * 0.5, w, c)
    img.seg(x + s * 0.75, y + s * 0.5, x + s * 0.53, y + s * 0.28, w, c)
    img.seg(x + s * 0.75, y + s * 0.5, x + s * 0.53, y + s * 0.72, w, c)


def arrow_down(img, x, y, s, c):
    w = max(1.6, s * 0.12)
    img.seg(x + s * 0.5, y + s * 0.2, x + s * 0.5, y + s * 0.7, w, c)
    img.seg(x + s * 0.5, y + s * 0.72, x + s * 0.3, y + s * 0.5, w, c)
    img.seg(x + s * 0.5, y + s * 0.72, x + s * 0.7, y + s * 0.5, w, c)
    img.seg(x + s * 0.24, y + s * 0.84, x + s * 0.76, y + s * 0.84, w, c)


def note(img, x, y, s, c):
    w = max(1.3, s * 0.09)
    img.circle(x + s * 0.34, y + s * 0.7, s * 0.13, c)
    img.circle(x + s * 0.7, y + s * 0.62, s * 0.13, c)
    img.seg(x + s * 0.45, y + s * 0.7, x + s * 0.45, y + s * 0.24, w, c)
    img.seg(x + s * 0.81, y + s * 0.62, x + s * 0.81, y + s * 0.16, w, c)
    img.poly([(x + s * 0.41, y + s * 0.2), (x + s * 0.85, y + s * 0.12), (x + s * 0.85, y + s * 0.24),
              (x + s * 0.41, y + s * 0.32)], c)


def person(img, x, y, s, c):
    img.circle(x + s * 0.5, y + s * 0.34, s * 0.18, c)
    img.rrect(x + s * 0.2, y + s * 0.56, x + s * 0.8, y + s * 0.95, s * 0.2, c)


def plus(img, x, y, s, c):
    w = max(1.6, s * 0.12)
    img.seg(x + s * 0.5, y + s * 0.25, x + s * 0.5, y + s * 0.75, w, c)
    img.seg(x + s * 0.25, y + s * 0.5, x + s * 0.75, y + s * 0.5, w, c)


def add_buddy(img, x, y, s, c):
    person(img, x - s * 0.08, y + s * 0.02, s * 0.8, c)
    plus(img, x + s * 0.42, y + s * 0.08, s * 0.55, c)


def envelope(img, x, y, s, c):
    w = max(1.2, s * 0.08)
    img.frame_rrect(x + s * 0.14, y + s * 0.26, x + s * 0.86, y + s * 0.76, 1.5, w, c)
    img.seg(x + s * 0.17, y + s * 0.3, x + s * 0.5, y + s * 0.54, w, c)
    img.seg(x + s * 0.83, y + s * 0.3, x + s * 0.5, y + s * 0.54, w, c)


def add_list(img, x, y, s, c):
    w = max(1.4, s * 0.1)
    for k in (0.28, 0.46, 0.64):
        img.seg(x + s * 0.16, y + s * k, x + s * 0.5, y + s * k, w, c)
    plus(img, x + s * 0.38, y + s * 0.36, s * 0.6, c)


def add_song(img, x, y, s, c):
    note(img, x - s * 0.08, y, s * 0.78, c)
    plus(img, x + s * 0.42, y + s * 0.38, s * 0.58, c)


def channel(img, x, y, s, c):
    w = max(1.3, s * 0.09)
    img.circle(x + s * 0.5, y + s * 0.45, s * 0.08, c)
    img.arc(x + s * 0.5, y + s * 0.45, s * 0.2, w, -50, 50, c)
    img.arc(x + s * 0.5, y + s * 0.45, s * 0.2, w, 130, 230, c)
    img.arc(x + s * 0.5, y + s * 0.45, s * 0.34, w, -45, 45, c)
    img.arc(x + s * 0.5, y + s * 0.45, s * 0.34, w, 135, 225, c)
    img.seg(x + s * 0.5, y + s * 0.5, x + s * 0.36, y + s * 0.86, w, c)
    img.seg(x + s * 0.5, y + s * 0.5, x + s * 0.64, y + s * 0.86, w, c)


def home(img, x, y, s, c):
    img.poly([(x + s * 0.5, y + s * 0.16), (x + s * 0.86, y + s * 0.5), (x + s * 0.14, y + s * 0.5)], c)
    img.rect(int(x + s * 0.26), int(y + s * 0.48), int(x + s * 0.74), int(y + s * 0.84), c)


def search(img, x, y, s, c):
    w = max(1.4, s * 0.11)
    img.ring(x + s * 0.43, y + s * 0.43, s * 0.2, w, c)
    img.seg(x + s * 0.58, y + s * 0.58, x + s * 0.8, y + s * 0.8, w * 1.3, c)


def bubble(img, x, y, s, c):
    img.rrect(x + s * 0.12, y + s * 0.18, x + s * 0.88, y + s * 0.68, s * 0.14, c)
    img.poly([(x + s * 0.3, y + s * 0.64), (x + s * 0.46, y + s * 0.64), (x + s * 0.26, y + s * 0.86)], c)


def send(img, x, y, s, c):
    img.poly([(x + s * 0.16, y + s * 0.2), (x + s * 0.86, y + s * 0.5), (x + s * 0.16, y + s * 0.8),
              (x + s * 0.32, y + s * 0.5)], c)


def heart(img, x, y, s, c):
    img.circle(x + s * 0.36, y + s * 0.38, s * 0.17, c)
    img.circle(x + s * 0.64, y + s * 0.38, s * 0.17, c)
    img.poly([(x + s * 0.2, y + s * 0.46), (x + s * 0.8, y + s * 0.46), (x + s * 0.5, y + s * 0.82)], c)


def speaker(img, x, y, s, c):
    img.poly([(x + s * 0.12, y + s * 0.38), (x + s * 0.28, y + s * 0.38), (x + s * 0.5, y + s * 0.18),
              (x + s * 0.5, y + s * 0.82), (x + s * 0.28, y + s * 0.62), (x + s * 0.12, y + s * 0.62)], c)


def sound_on(img, x, y, s, c):
    speaker(img, x, y, s, c)
    w = max(1.1, s * 0.08)
    img.arc(x + s * 0.5, y + s * 0.5, s * 0.18, w, -50, 50, c)
    img.arc(x + s * 0.5, y + s * 0.5, s * 0.34, w, -50, 50, c)


def sound_off(img, x, y, s, c):
    speaker(img, x, y, s, c)
    w = max(1.1, s * 0.09)
    img.seg(x + s * 0.62, y + s * 0.36, x + s * 0.88, y + s * 0.64, w, c)
    img.seg(x + s * 0.88, y + s * 0.36, x + s * 0.62, y + s * 0.64, w, c)


def loop_all(img, x, y, s, c):
    w = max(1.3, s * 0.1)
    img.arc(x + s * 0.5, y + s * 0.5, s * 0.28, w, 30, 330, c)
    ex, ey = x + s * 0.5 + s * 0.28 * math.cos(math.radians(30)), y + s * 0.5 - s * 0.28 * math.sin(math.radians(30))
    img.poly([(ex - s * 0.12, ey - s * 0.02), (ex + s * 0.12, ey - s * 0.02), (ex, ey + s * 0.16)], c)


def loop_one(img, x, y, s, c):
    loop_all(img, x, y, s, c)
    img.seg(x + s * 0.5, y + s * 0.38, x + s * 0.5, y + s * 0.62, max(1.3, s * 0.1), c)


def order(img, x, y, s, c):
    w = max(1.3, s * 0.1)
    for k in (0.3, 0.5, 0.7):
        img.seg(x + s * 0.18, y + s * k, x + s * 0.56, y + s * k, w, c)
    img.poly([(x + s * 0.64, y + s * 0.38), (x + s * 0.88, y + s * 0.56), (x + s * 0.64, y + s * 0.74)], c)


def gear(img, x, y, s, c):
    cx, cy = x + s * 0.5, y + s * 0.5
    for k in range(8):
        a = math.radians(k * 45)
        img.seg(cx, cy, cx + s * 0.36 * math.cos(a), cy + s * 0.36 * math.sin(a), s * 0.16, c)
    img.circle(cx, cy, s * 0.27, c)


def check(img, x, y, s, c):
    w = max(1.5, s * 0.14)
    img.seg(x + s * 0.22, y + s * 0.52, x + s * 0.42, y + s * 0.72, w, c)
    img.seg(x + s * 0.42, y + s * 0.72, x + s * 0.8, y + s * 0.3, w, c)


def clock(img, x, y, s, c):
    w = max(1.2, s * 0.09)
    img.ring(x + s * 0.5, y + s * 0.5, s * 0.34, w, c)
    img.seg(x + s * 0.5, y + s * 0.5, x + s * 0.5, y + s * 0.28, w, c)
    img.seg(x + s * 0.5, y + s * 0.5, x + s * 0.66, y + s * 0.58, w, c)


def folder(img, x, y, s, c):
    img.rrect(x + s * 0.1, y + s * 0.22, x + s * 0.5, y + s * 0.4, 1.5, c)
    img.rrect(x + s * 0.1, y + s * 0.3, x + s * 0.9, y + s * 0.8, 1.5, c)


def moon(img, x, y, s, c):
    img.circle(x + s * 0.5, y + s * 0.5, s * 0.34, c)


def star(img, x, y, s, c):
    cx, cy = x + s * 0.5, y + s * 0.52
    pts = []
    for k in range(10):
        r = s * (0.42 if k % 2 == 0 else 0.18)
        a = math.radians(-90 + k * 36)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    img.poly(pts, c)
