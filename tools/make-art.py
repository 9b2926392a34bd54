#!/usr/bin/env python3
"""Makes the artwork of Yeb and Yeb360Update: skin bitmaps, icons, cursors,
animation frames (PNG), notification sounds (WAVE) and the loading page.

    python3 tools/make-art.py

writes the files below resources/art/ and resources/updater/art/, the
resource-script fragments that name them (yeb-art.rc, updater-art.rc), and the
block of artwork ids in resources/resource.h and resources/updater/resource.h
between the lines "// BEGIN ARTWORK IDS" and "// END ARTWORK IDS". The
generated files are committed, so the build does not run this script.

One look throughout: a calm blue and white skin. Dark blue caption bands with
light glyphs, white and pale-blue bodies with dark-blue glyphs. Skin bitmaps
mark transparent pixels with magenta 0xFF00FF (the switches use green
0x00FF00 and the radio pictures the dialog grey 0xECE9D8, as their users ask).
"""

import math
import os
import random
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'art'))

from raster import (Img, MAGENTA, mix, shade, hstrip, bmp24, bmp8, quantize, ico, png, wave,  # noqa: E402
                    draw_text, text_width)
import glyphs as G  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# -- palette -----------------------------------------------------------------
CAP_TOP = (70, 138, 210)      # caption band, top
CAP_BOT = (40, 96, 166)       # caption band, bottom
BORDER = (40, 92, 158)        # frame lines
NAVY = (30, 70, 124)          # glyphs on light ground
BLUE = (58, 124, 196)
BLUE_L = (128, 176, 228)
SKY = (214, 231, 247)
ICE = (238, 245, 252)
WHITE = (255, 255, 255)
GREY = (150, 160, 172)
RED = (206, 78, 66)
GREEN = (70, 170, 90)
AMBER = (232, 170, 50)
GREEN_KEY = (0, 255, 0)
DIALOG_KEY = (236, 233, 216)  # COLORREF 0xD8E9EC

catalogue = {'yeb': [], 'updater': []}


def add(program, kind, name, rid, rel, data, note):
    catalogue[program].append((kind, name, rid, rel, data, note))


def bmp(name, rid, img, note, program='yeb', fmt=24):
    rel = 'bmp/%d-%s.bmp' % (rid, name.lower().replace('idb_', '').replace('_', '-'))
    add(program, 'BITMAP', name, rid, rel, bmp24(img) if fmt == 24 else bmp8(img), note)


# ---------------------------------------------------------------------------
# Frames

def caption_band(img, x0, x1, h, top=CAP_TOP, bottom=CAP_BOT):
    img.vgrad(x0, 0, x1, h, top, bottom)
    img.rect(x0, 0, x1, 1, shade(top, 0.25))


def corner_cut(img, corner, r=5):
    """Rounds one corner of an opaque picture: the outside becomes magenta."""
    w, h = img.w, img.h
    cx = r if 'l' in corner else w - r
    cy = r if 't' in corner else h - r
    for y in range(min(6, h)):
        yy = y if 't' in corner else h - 1 - y
        for x in range(min(6, w)):
            xx = x if 'l' in corner else w - 1 - x
            px, py = xx + 0.5, yy + 0.5
            inside_box = (px < cx if 'l' in corner else px > cx) and (py < cy if 't' in corner else py > cy)
            if inside_box and math.hypot(px - cx, py - cy) > r:
                img.px[yy * w + xx] = [MAGENTA[0], MAGENTA[1], MAGENTA[2], 1.0]


def frame_set(prefix, ids, cap_h, side_w, bottom_h, program='yeb', side_h=100, body=WHITE, tl_w=60, tr_w=30,
              logo=True, note=''):
    """The eight frame pieces of a skinned dialog: a caption band with a note
    mark at the left, thin borders, rounded (magenta) outer corners."""
    tl, top, tr, left, right, bl, bottom, br = ids
    im = Img(tl_w, cap_h)
    caption_band(im, 0, tl_w, cap_h)
    im.rect(0, 0, 1, cap_h, BORDER)
    if logo and cap_h >= 20:
        s = min(cap_h - 6, 20)
        im.circle(6 + s / 2, cap_h / 2, s / 2, shade(CAP_TOP, 0.15))
        G.note(im, 6, cap_h / 2 - s / 2, s, WHITE)
    im = im.keyed()
    corner_cut(im, 'tl')
    bmp(prefix + '_TOP_LEFT', tl, im, 'frame top-left corner, %s' % note, program)
    im = Img(1, cap_h)
    caption_band(im, 0, 1, cap_h)
    bmp(prefix + '_TOP', top, im.keyed(), 'frame top edge, tiled', program)
    im = Img(tr_w, cap_h)
    caption_band(im, 0, tr_w, cap_h)
    im.rect(tr_w - 1, 0, tr_w, cap_h, BORDER)
    im = im.keyed()
    corner_cut(im, 'tr')
    bmp(prefix + '_TOP_RIGHT', tr, im, 'frame top-right corner', program)
    if left is not None:
        im = Img(side_w, side_h, body)
        im.rect(0, 0, 1, side_h, BORDER)
        if side_w > 1:
            im.rect(1, 0, 2, side_h, shade(BORDER, 0.55))
        bmp(prefix + '_LEFT' if left != right else prefix + '_SIDE', left, im,
            'frame left edge' + ('' if left != right else ' and right edge') + ', tiled', program)
    if right is not None and right != left:
        im = Img(side_w, side_h, body)
        im.rect(side_w - 1, 0, side_w, side_h, BORDER)
        if side_w > 1:
            im.rect(side_w - 2, 0, side_w - 1, side_h, shade(BORDER, 0.55))
        bmp(prefix + '_RIGHT', right, im, 'frame right edge, tiled', program)
    bw = max(side_w, 2) if bottom_h <= 4 else 20
    for cid, name, corner in ((bl, '_BOTTOM_LEFT', 'bl'), (br, '_BOTTOM_RIGHT', 'br')):
        im = Img(bw, bottom_h, body if bottom_h <= 4 else None)
        if bottom_h > 4:
            im.vgrad(0, 0, bw, bottom_h, shade(SKY, 0.3), SKY)
        im.rect(0, bottom_h - 1, bw, bottom_h, BORDER)
        if corner == 'bl':
            im.rect(0, 0, 1, bottom_h, BORDER)
        else:
            im.rect(bw - 1, 0, bw, bottom_h, BORDER)
        im = im.keyed()
        if bottom_h >= 6:
            corner_cut(im, corner)
        bmp(prefix + name, cid, im, 'frame %s corner' % ('bottom-left' if corner == 'bl' else 'bottom-right'),
            program)
    im = Img(1, bottom_h, body)
    if bottom_h > 4:
        im.vgrad(0, 0, 1, bottom_h, shade(SKY, 0.3), SKY)
    im.rect(0, bottom_h - 1, 1, bottom_h, BORDER)
    bmp(prefix + '_BOTTOM', bottom, im, 'frame bottom edge, tiled', program)


def logo_bitmap(word, w, h, active=True):
    # drawn at top 1 over a 30 px caption band: continue its gradient
    im = Img(w, h)
    for y in range(h):
        im.rect(0, y, w, y + 1, mix(CAP_TOP, CAP_BOT, (y + 1) / 29))
    scale = 2 if h >= 18 else 1
    tw = text_width(word, scale)
    fg = WHITE if active else shade(CAP_TOP, 0.45)
    mark = 16 if h >= 18 else 0
    x = (w - tw - mark - 6) // 2
    if mark:
        G.note(im, x, (h - mark) // 2, mark, fg)
        x += mark + 6
    draw_text(im, word, x, (h - 7 * scale) // 2, scale, fg)
    return im.keyed()


def main_band(y):
    """Colour of the main window's top band (110 px): title bar, player
    panel, toolbar row."""
    if y < 30:
        return mix(CAP_TOP, CAP_BOT, y / 29)
    if y < 31:
        return shade(CAP_BOT, -0.2)
    if y < 84:
        return mix(ICE, SKY, (y - 31) / 52)
    if y < 85:
        return shade(BLUE_L, -0.1)
    return mix(BLUE, CAP_BOT, (y - 85) / 24)


def main_top(w, avatar_glow=False, edge=None):
    im = Img(w, 110)
    for y in range(110):
        c = main_band(y)
        for x in range(w):
            im.put(x, y, c)
    if edge == 'l':
        im.rect(0, 0, 1, 110, BORDER)
        im.rect(0, 31, 4, 84, shade(BLUE_L, 0.2))
        im.rect(0, 31, 1, 84, BORDER)
        # frame for the own avatar (42 x 42 at 9, 35)
        im.rrect(7, 33, 53, 79, 3, WHITE)
        im.frame_rrect(7, 33, 53, 79, 3, 1.2, AMBER if avatar_glow else BLUE_L)
        if avatar_glow:
            im.frame_rrect(5, 31, 55, 81, 4, 1.5, shade(AMBER, 0.4))
    if edge == 'r':
        im.rect(w - 1, 0, w, 110, BORDER)
    im = im.keyed()
    if edge == 'l':
        corner_cut(im, 'tl')
    if edge == 'r':
        corner_cut(im, 'tr')
    return im


def make_frames():
    # standard skinned dialog: caption 29 px, 2 px borders
    frame_set('IDB_FRAME', (186, 187, 182, 183, 183, 185, 189, 188), 29, 2, 2, note='60 x 29')
    frame_set('IDB_FRAME', (186, 187, 182, 183, 183, 185, 189, 188), 29, 2, 2, program='updater', note='60 x 29')
    # login dialog and the updater's window: caption 30 px
    frame_set('IDB_LOGIN_FRAME', (221, 223, 226, 220, 225, 219, 222, 224), 30, 2, 4, note='login dialog')
    frame_set('IDB_UPDATE_FRAME', (221, 223, 226, None, 225, 219, 222, 224), 30, 2, 4, program='updater',
              body=CAP_BOT, note='update dialog')
    # the updater's body: a full-width picture tiled down the window
    im = Img(391, 8)
    im.hgrad(0, 0, 391, 8, mix(CAP_BOT, CAP_TOP, 0.15), CAP_BOT)
    im.rect(0, 0, 1, 8, BORDER)
    bmp('IDB_UPDATE_BODY', 230, im, 'update dialog body (left piece, full width)', 'updater')
    # while downloading and installing: the light falls from the other side
    im = Img(391, 8)
    im.hgrad(0, 0, 391, 8, CAP_BOT, mix(CAP_BOT, CAP_TOP, 0.15))
    im.rect(0, 0, 1, 8, BORDER)
    bmp('IDB_UPDATE_BODY_PROGRESS', 220, im, 'update dialog body while updating (left piece, full width)', 'updater')
    bmp('IDB_UPDATE_TITLE', 227, logo_bitmap('UPDATE', 140, 28), 'update dialog title', 'updater')
    # chat window: caption 30 px, bottom band 30 px; sides shared with the main window
    frame_set('IDB_CHAT_FRAME', (338, 340, 342, None, None, 337, 339, 341), 30, 4, 30, note='chat window')
    # buddy card: no caption band, a thin rounded frame
    frame_set('IDB_CARD_FRAME', (240, 242, 231, 239, 244, 238, 241, 243), 6, 2, 6, side_h=20, tl_w=8, tr_w=8,
              logo=False, note='buddy card')
    # browser window bottom with the advertisement line
    for rid, name, w in ((396, 'IDB_BROWSER_BOTTOM_LEFT', 4), (390, 'IDB_BROWSER_BOTTOM', 1),
                         (397, 'IDB_BROWSER_BOTTOM_RIGHT', 4)):
        im = Img(w, 22)
        im.vgrad(0, 0, w, 22, shade(SKY, 0.4), SKY)
        im.rect(0, 0, w, 1, BLUE_L)
        im.rect(0, 21, w, 22, BORDER)
        if name.endswith('LEFT'):
            im.rect(0, 0, 1, 22, BORDER)
        if name.endswith('RIGHT'):
            im.rect(w - 1, 0, w, 22, BORDER)
        bmp(name, rid, im.keyed(), 'web song browser bottom (advertisement line)')
    im = Img(1, 35)
    im.vgrad(0, 0, 1, 35, ICE, SKY)
    im.rect(0, 34, 1, 35, BLUE_L)
    bmp('IDB_BROWSER_BAND', 402, im, 'web song browser band and toolbar background, tiled')
    # settings pages: one pale-blue pixel for all eight frame parts
    bmp('IDB_PAGE_FRAME', 213, Img(1, 1, (178, 204, 235)), 'settings page frame (all eight parts)')

    # main window: 110 px top band, 4 px sides, 19 px bottom
    bmp('IDB_MAIN_TOP_LEFT', 134, main_top(200, edge='l'), 'main window top-left corner')
    bmp('IDB_MAIN_TOP_LEFT_HOT', 247, main_top(200, avatar_glow=True, edge='l'),
        'main window top-left corner while the own card shows')
    bmp('IDB_MAIN_TOP', 136, main_top(1), 'main window top edge, tiled')
    bmp('IDB_MAIN_TOP_RIGHT', 137, main_top(200, edge='r'), 'main window top-right corner')
    im = Img(4, 16, SKY)
    im.rect(0, 0, 1, 16, BORDER)
    bmp('IDB_MAIN_LEFT', 132, im, 'main and chat window left edge (also the size grip), tiled')
    im = Img(4, 16, SKY)
    im.rect(3, 0, 4, 16, BORDER)
    bmp('IDB_MAIN_RIGHT', 133, im, 'main and chat window right edge, tiled')
    for rid, name, w in ((129, 'IDB_MAIN_BOTTOM_LEFT', 20), (130, 'IDB_MAIN_BOTTOM', 1),
                         (131, 'IDB_MAIN_BOTTOM_RIGHT', 20)):
        im = Img(w, 19)
        im.vgrad(0, 0, w, 19, SKY, shade(SKY, -0.08))
        im.rect(0, 18, w, 19, BORDER)
        if name.endswith('LEFT'):
            im.rect(0, 0, 1, 19, BORDER)
        if name.endswith('RIGHT'):
            im.rect(w - 1, 0, w, 19, BORDER)
            for k in range(3):
                for j in range(k + 1):
                    im.rect(14 - j * 4, 13 - (k - j) * 4 - 2, 16 - j * 4, 13 - (k - j) * 4, BLUE_L)
        im = im.keyed()
        if name.endswith('LEFT'):
            corner_cut(im, 'bl')
        if name.endswith('RIGHT'):
            corner_cut(im, 'br')
        bmp(name, rid, im, 'main window bottom piece')
    bmp('IDB_MAIN_TITLE', 135, logo_bitmap('YEB360', 160, 28), 'title picture (main window, login dialog)')
    bmp('IDB_MAIN_TITLE_INACTIVE', 330, logo_bitmap('YEB360', 160, 28, active=False),
        'title picture of the inactive main window')


# ---------------------------------------------------------------------------
# Buttons

def state_plate(im, state, x0, y0, x1, y1, r, on_dark, danger=False):
    """Background of one button state: none when normal, a soft plate when
    hovered, a deeper one when pressed."""
    if state == 'hover':
        c = RED if danger else (shade(CAP_TOP, 0.3) if on_dark else shade(BLUE_L, 0.45))
        im.rrect(x0, y0, x1, y1, r, c)
    elif state == 'pressed':
        c = shade(RED, -0.2) if danger else (shade(CAP_BOT, -0.25) if on_dark else shade(BLUE_L, 0.1))
        im.rrect(x0, y0, x1, y1, r, c)


STATES = ('normal', 'hover', 'pressed', 'disabled')


def glyph_strip(w, h, glyph, on_dark=True, danger=False, gsize=None, edge=None, plate=None):
    """Four-state strip (normal, hover, pressed, disabled) of one glyph on a
    transparent (magenta) ground. `plate`, when given, is a colour pair for a
    plate drawn in every state (solid buttons)."""
    parts = []
    s = gsize or min(w, h)
    ground = edge or (CAP_BOT if on_dark else ICE)
    for st in STATES:
        im = Img(w, h)
        if plate:
            top, bot = plate
            if st == 'hover':
                top, bot = shade(top, 0.2), shade(bot, 0.2)
            if st == 'pressed':
                top, bot = shade(top, -0.15), shade(bot, -0.15)
            if st == 'disabled':
                top, bot = mix(top, (200, 205, 212), 0.7), mix(bot, (190, 196, 204), 0.7)
            im.rrect_v(0, 0, w, h, min(4, h / 2), top, bot)
        else:
            state_plate(im, st, 1, 1, w - 1, h - 1, 3, on_dark, danger)
        if plate:
            c = GREY if st == 'disabled' else WHITE
        elif on_dark:
            c = shade(CAP_TOP, 0.35) if st == 'disabled' else WHITE
        else:
            c = GREY if st == 'disabled' else (WHITE if st == 'pressed' else NAVY)
        off = 1 if st == 'pressed' else 0
        glyph(im, (w - s) / 2 + off, (h - s) / 2 + off, s, c)
        parts.append(im.keyed(edge=ground))
    return hstrip(parts)


def round_strip(d, glyph, gsize=None):
    """Four-state strip of a round, solid button (play and pause)."""
    parts = []
    for st in STATES:
        im = Img(d, d)
        top, bot = shade(BLUE, 0.25), shade(BLUE, -0.2)
        if st == 'hover':
            top, bot = shade(top, 0.2), shade(bot, 0.2)
        elif st == 'pressed':
            top, bot = shade(bot, -0.1), shade(top, -0.1)
        elif st == 'disabled':
            top, bot = (196, 204, 214), (172, 182, 194)
        im.circle(d / 2, d / 2, d / 2 - 0.5, top, grad=lambda x, y: mix(top, bot, y / d))
        im.ring(d / 2, d / 2, d / 2 - 1, 1.2, shade(bot, -0.2))
        s = gsize or d * 0.7
        glyph(im, (d - s) / 2 + (1 if st == 'pressed' else 0), (d - s) / 2, s, WHITE)
        parts.append(im.keyed(edge=ICE))
    return hstrip(parts)


def three_piece(prefix, ids, h, top, bottom, note, program='yeb', cap=4, mid=4, text_dark=False):
    """ThemeButton pictures: left caps, middle pieces and right caps, each a
    strip of four states (normal, hover, pressed, disabled)."""
    lid, mid_id, rid = ids
    faces = []
    for st in STATES:
        t, b = top, bottom
        if st == 'hover':
            t, b = shade(t, 0.25), shade(b, 0.2)
        elif st == 'pressed':
            t, b = shade(b, -0.1), shade(t, -0.1)
        elif st == 'disabled':
            t, b = mix(t, (226, 230, 236), 0.75), mix(b, (210, 215, 222), 0.75)
        w = cap * 2 + mid
        im = Img(w, h)
        im.rrect_v(0, 0, w, h, min(4, h / 3), t, b)
        im.frame_rrect(0, 0, w, h, min(4, h / 3), 1, shade(b, -0.25))
        im.rect(cap - 1, 1, w - cap + 1, 2, shade(t, 0.35))
        faces.append(im.keyed(edge=WHITE))
    lefts = [f.crop(0, 0, cap, h) for f in faces]
    mids = [f.crop(cap, 0, mid, h) for f in faces]
    rights = [f.crop(cap + mid, 0, cap, h) for f in faces]
    bmp(prefix + '_LEFT', lid, hstrip(lefts), note + ': left caps (4 states)', program)
    bmp(prefix + '_MIDDLE', mid_id, hstrip(mids), note + ': middle pieces (4 states)', program)
    bmp(prefix + '_RIGHT', rid, hstrip(rights), note + ': right caps (4 states)', program)


def switch_images(on):
    """Check box pictures (hover, normal, pressed) on green 0x00FF00."""
    out = []
    for st in ('hover', 'normal', 'pressed'):
        im = Img(13, 13)
        face = WHITE if st != 'pressed' else SKY
        im.rrect(0, 0, 13, 13, 2.5, BLUE if st == 'hover' else shade(BLUE, -0.1))
        im.rrect(1.3, 1.3, 11.7, 11.7, 1.8, face)
        if on:
            G.check(im, 0.5, 0.5, 12, NAVY if st != 'hover' else BLUE)
        out.append(im.keyed(GREEN_KEY, edge=WHITE))
    return out


def radio_image(chosen, st):
    im = Img(16, 16)
    ring = BLUE if st == 'hover' else shade(BLUE, -0.15)
    im.circle(8, 8, 7, ring)
    im.circle(8, 8, 5.8, SKY if st == 'pressed' else WHITE)
    if chosen:
        im.circle(8, 8, 3.3, NAVY if st != 'hover' else BLUE)
    return im.keyed(DIALOG_KEY, edge=DIALOG_KEY)


def make_buttons():
    dark = dict(on_dark=True, edge=CAP_BOT)
    title = [(138, 'IDB_BTN_MAIN_CLOSE', 25, G.close, True, 'close'),
             (127, 'IDB_BTN_MAIN_MAXIMISE', 25, G.maximise, False, 'maximise'),
             (139, 'IDB_BTN_MAIN_RESTORE', 25, G.restore, False, 'restore'),
             (141, 'IDB_BTN_MAIN_MINIMISE', 25, G.minimise, False, 'minimise'),
             (379, 'IDB_BTN_MAIN_MINI_PLAYER', 25, G.mini, False, 'switch to the mini player'),
             (140, 'IDB_BTN_MAIN_MENU', 27, G.menu, False, 'main menu'),
             (215, 'IDB_BTN_MINIMISE_DARK', 25, G.minimise, False, 'minimise (login, chat)'),
             (184, 'IDB_BTN_CLOSE', 25, G.close, True, 'close (dialogs)'),
             (190, 'IDB_BTN_MINIMISE', 25, G.minimise, False, 'minimise (dialogs)'),
             (354, 'IDB_BTN_CLOSE_SMALL', 25, G.close, True, 'close (message boxes; four 25 x 20 images)'),
             (398, 'IDB_BTN_BROWSER_MAXIMISE', 25, G.maximise, False, 'web song browser maximise'),
             (400, 'IDB_BTN_BROWSER_RESTORE', 25, G.restore, False, 'web song browser restore')]
    for rid, name, w, gl, danger, note in title:
        bmp(name, rid, glyph_strip(w, 20, gl, danger=danger, gsize=18, **dark), note + ' (4 states)')
    for rid, name, note in ((354, 'IDB_BTN_CLOSE_SMALL', 'close (message box)'),):
        bmp(name, rid, glyph_strip(25, 20, G.close, danger=True, gsize=18, **dark), note + ' (4 states)', 'updater')
    bmp('IDB_BTN_UPDATE_CLOSE', 229, glyph_strip(25, 20, G.close, danger=True, gsize=18, **dark),
        'update dialog close (4 states)', 'updater')
    bmp('IDB_BTN_UPDATE_MINIMISE', 228, glyph_strip(25, 20, G.minimise, gsize=18, **dark),
        'update dialog minimise (4 states)', 'updater')

    light = dict(on_dark=False, edge=ICE)
    player = [(151, 'IDB_BTN_PREVIOUS', 30, 24, G.prev, 'previous song'),
              (148, 'IDB_BTN_NEXT', 30, 24, G.next_, 'next song'),
              (152, 'IDB_BTN_STOP', 24, 24, G.stop, 'stop'),
              (146, 'IDB_BTN_PUSH_SONG', 32, 22, G.send, 'push the playing song'),
              (143, 'IDB_BTN_LOOP_ORDER', 32, 20, G.order, 'loop mode: in order'),
              (144, 'IDB_BTN_LOOP_ALL', 32, 20, G.loop_all, 'loop mode: repeat the list'),
              (392, 'IDB_BTN_LOOP_ONE', 32, 20, G.loop_one, 'loop mode: repeat one song'),
              (147, 'IDB_BTN_SOUND_ON', 14, 12, G.sound_on, 'mute button, sound on'),
              (153, 'IDB_BTN_SOUND_OFF', 14, 12, G.sound_off, 'mute button, muted')]
    for rid, name, w, h, gl, note in player:
        bmp(name, rid, glyph_strip(w, h, gl, gsize=min(w, h + 2), **light), note + ' (4 states)')
    bmp('IDB_BTN_PLAY', 150, round_strip(38, G.play), 'play (4 states)')
    bmp('IDB_BTN_PAUSE', 149, round_strip(38, G.pause), 'pause (4 states)')

    tool = [(159, 'IDB_BTN_ADD_BUDDY', G.add_buddy, 'add buddy'),
            (409, 'IDB_BTN_INVITE', G.envelope, 'send invitation'),
            (160, 'IDB_BTN_ADD_SONG_LIST', G.add_list, 'add song list'),
            (158, 'IDB_BTN_ADD_SONG', G.add_song, 'add song'),
            (371, 'IDB_BTN_MUSIC_CHANNEL', G.channel, 'music channel'),
            (372, 'IDB_BTN_HOME_PAGE', G.home, 'home page'),
            (443, 'IDB_BTN_WEB_BACK', G.arrow_left, 'web back'),
            (444, 'IDB_BTN_WEB_FORWARD', G.arrow_right, 'web forward')]
    for rid, name, gl, note in tool:
        bmp(name, rid, glyph_strip(22, 22, gl, gsize=20, on_dark=True, edge=CAP_BOT), note + ' (4 states)')
    for rid, name, gl, note in ((445, 'IDB_BTN_BROWSER_BACK', G.arrow_left, 'web song browser back'),
                                (446, 'IDB_BTN_BROWSER_FORWARD', G.arrow_right, 'web song browser forward')):
        bmp(name, rid, glyph_strip(22, 22, gl, gsize=20, on_dark=False, edge=ICE), note + ' (4 states)')
    bmp('IDB_BTN_BROWSER_PUSH', 456, glyph_strip(26, 22, G.send, gsize=20, on_dark=False, edge=ICE),
        'web song browser push page (4 states)')

    # chat window, pop-up, board, buddy card
    bmp('IDB_BTN_CHAT_PUSH_SONG', 346, glyph_strip(32, 22, G.send, gsize=20, on_dark=False, edge=WHITE),
        'chat: push a song (4 states)')
    bmp('IDB_BTN_CHAT_SEND', 343, glyph_strip(56, 22, G.send, gsize=16, plate=(shade(BLUE, 0.2), BLUE)),
        'chat: send (4 states)')
    bmp('IDB_BTN_POPUP_SETTINGS', 366, glyph_strip(28, 17, G.gear, gsize=13, on_dark=True, edge=CAP_BOT),
        'notification pop-up: sound settings (4 states)')
    bmp('IDB_BTN_CLOSE_TINY', 237, glyph_strip(16, 16, G.close, danger=True, gsize=16, on_dark=True, edge=CAP_BOT),
        'board and buddy card close (4 states)')
    bmp('IDB_BTN_BOARD_POST', 433, glyph_strip(41, 22, G.bubble, gsize=16, plate=(shade(BLUE, 0.2), BLUE)),
        'board: post (4 states)')

    # floating toolbar (19 x 19) and mini player (18 x 18)
    im = Img(76, 19)
    im.rrect_v(0, 0, 76, 19, 3, WHITE, SKY)
    im.frame_rrect(0, 0, 76, 19, 3, 1, BLUE_L)
    bmp('IDB_FLOAT_TOOLBAR_BACK', 454, im.keyed(), 'floating toolbar background')
    for rid, name, gl, note in ((449, 'IDB_BTN_FLOAT_PLAY', G.play, 'play the row'),
                                (450, 'IDB_BTN_FLOAT_SEARCH', G.search, 'search the song'),
                                (451, 'IDB_BTN_FLOAT_PUSH', G.send, 'push the song'),
                                (452, 'IDB_BTN_FLOAT_BOARD', G.bubble, 'open the board'),
                                (453, 'IDB_BTN_FLOAT_COLLECT', G.heart, 'collect the song')):
        bmp(name, rid, glyph_strip(19, 19, gl, gsize=17, on_dark=False, edge=WHITE), 'floating toolbar: ' + note)
    for rid, name, gl, note in ((380, 'IDB_BTN_MINI_PREVIOUS', G.prev, 'previous'),
                                (381, 'IDB_BTN_MINI_PAUSE', G.pause, 'pause'),
                                (382, 'IDB_BTN_MINI_PLAY', G.play, 'play'),
                                (383, 'IDB_BTN_MINI_STOP', G.stop, 'stop'),
                                (384, 'IDB_BTN_MINI_NEXT', G.next_, 'next'),
                                (385, 'IDB_BTN_MINI_SHOW_MAIN', G.maximise, 'show the main window')):
        bmp(name, rid, glyph_strip(18, 18, gl, gsize=18, on_dark=True, edge=CAP_BOT), 'mini player: ' + note)

    # three-piece (ThemeButton) sets
    three_piece('IDB_NICK_BTN', (176, 177, 178), 20, shade(CAP_BOT, 0.1), CAP_BOT, 'nick button')
    three_piece('IDB_SIGN_BTN', (191, 192, 193), 18, WHITE, SKY, 'signature button')
    three_piece('IDB_TEXT_BTN', (180, 181, 179), 24, WHITE, SKY, 'text buttons (OK, Cancel)')
    three_piece('IDB_PAGE_BTN', (194, 195, 196), 27, ICE, SKY, 'page selectors and message box buttons')
    three_piece('IDB_PAGE_BTN', (194, 195, 196), 27, ICE, SKY, 'message box buttons', program='updater')
    three_piece('IDB_CARD_BTN', (234, 235, 236), 24, WHITE, ICE, 'buddy card actions')
    three_piece('IDB_LOGIN_BTN', (216, 217, 218), 24, shade(BLUE, 0.35), BLUE, 'login buttons')
    three_piece('IDB_LOGIN_BTN', (216, 217, 218), 24, shade(BLUE, 0.35), BLUE, 'update buttons', 'updater')
    three_piece('IDB_TOOLBAR_BTN', (404, 405, 406), 24, WHITE, SKY, 'browser toolbar buttons')

    # switches (check boxes) on green, radios on the dialog grey
    off_h, off_n, off_p = switch_images(False)
    on_h, on_n, on_p = switch_images(True)
    bmp('IDB_SWITCH_ON_HOVER', 208, on_h, 'switch on, hover (key 0x00FF00)')
    bmp('IDB_SWITCH_ON', 209, on_n, 'switch on (key 0x00FF00)')
    bmp('IDB_SWITCH_ON_PRESSED', 207, on_p, 'switch on, pressed (key 0x00FF00)')
    bmp('IDB_SWITCH_OFF_HOVER', 211, off_h, 'switch off, hover (key 0x00FF00)')
    bmp('IDB_SWITCH_OFF', 212, off_n, 'switch off (key 0x00FF00)')
    bmp('IDB_SWITCH_OFF_PRESSED', 210, off_p, 'switch off, pressed (key 0x00FF00)')
    bmp('IDB_RADIO_ON_HOVER', 204, radio_image(True, 'hover'), 'radio chosen, hover (key 0xECE9D8)')
    bmp('IDB_RADIO_ON', 205, radio_image(True, 'normal'), 'radio chosen (key 0xECE9D8)')
    bmp('IDB_RADIO_OFF', 206, radio_image(False, 'normal'), 'radio not chosen; also the chosen one pressed')
    bmp('IDB_RADIO_OFF_HOVER', 202, radio_image(False, 'hover'), 'radio not chosen, hover')
    bmp('IDB_RADIO_OFF_PRESSED', 203, radio_image(False, 'pressed'), 'radio not chosen, pressed')

    # welcome picture button of the login dialog
    im = Img(171, 38)
    im.rrect_v(0, 0, 171, 38, 6, shade(BLUE, 0.3), shade(BLUE, -0.1))
    im.frame_rrect(0, 0, 171, 38, 6, 1, shade(BLUE, -0.3))
    G.add_buddy(im, 12, 5, 28, WHITE)
    for k in range(3):
        im.rrect(52 + k * 38, 15, 82 + k * 38, 23, 4, shade(BLUE, 0.6))
    bmp('IDB_WELCOME_REGISTER', 411, im.keyed(edge=WHITE), 'welcome picture button (register now)')


# ---------------------------------------------------------------------------
# Controls: sliders, progress, header, scroll bar, splitter, busy animation

def make_controls():
    def channel(w, h, fill_c, track_c):
        im = Img(w, h)
        im.rrect(0, (h - 4) / 2, w, (h + 4) / 2, 2, track_c)
        return im, fill_c

    im = Img(52, 12)
    im.rrect(0, 4, 52, 8, 2, shade(BLUE_L, 0.3))
    im.frame_rrect(0, 4, 52, 8, 2, 1, BLUE_L)
    bmp('IDB_VOLUME_CHANNEL', 157, im.keyed(edge=ICE), 'volume slider channel (normal and active)')
    for rid, name, c in ((155, 'IDB_VOLUME_THUMB', BLUE), (156, 'IDB_VOLUME_THUMB_PRESSED', NAVY)):
        im = Img(8, 12)
        im.rrect_v(0, 0, 8, 12, 2.5, shade(c, 0.3), c)
        bmp(name, rid, im.keyed(edge=ICE), 'volume slider thumb')
    for rid, name, fill in ((174, 'IDB_PROGRESS_CHANNEL', shade(BLUE_L, 0.5)),
                            (172, 'IDB_PROGRESS_CHANNEL_ACTIVE', BLUE),
                            (173, 'IDB_PROGRESS_CHANNEL_LIMIT', shade(BLUE_L, 0.15))):
        im = Img(305, 9)
        im.rrect(0, 2, 305, 7, 2.5, fill)
        im.frame_rrect(0, 2, 305, 7, 2.5, 1, shade(BLUE_L, -0.1))
        bmp(name, rid, im.keyed(edge=ICE), 'play position slider channel')
    for rid, name, c in ((170, 'IDB_PROGRESS_THUMB', BLUE), (171, 'IDB_PROGRESS_THUMB_PRESSED', NAVY)):
        im = Img(9, 9)
        im.circle(4.5, 4.5, 4.3, WHITE)
        im.ring(4.5, 4.5, 3.6, 1.4, c)
        im.circle(4.5, 4.5, 1.5, c)
        bmp(name, rid, im.keyed(edge=ICE), 'play position slider thumb')
    im = Img(250, 20)
    im.rrect_v(0, 0, 250, 20, 4, WHITE, ICE)
    im.frame_rrect(0, 0, 250, 20, 4, 1, BLUE_L)
    bmp('IDB_BAR_BACK', 327, im.keyed(edge=WHITE), 'progress bar background')
    im = Img(250, 20)
    im.rrect_v(0, 0, 250, 20, 4, shade(BLUE, 0.35), BLUE)
    im.frame_rrect(0, 0, 250, 20, 4, 1, shade(BLUE, -0.25))
    bmp('IDB_BAR_FILL', 326, im.keyed(edge=WHITE), 'progress bar fill')

    # header: item, background, divider (23 px)
    im = Img(1, 23)
    im.vgrad(0, 0, 1, 23, WHITE, SKY)
    bmp('IDB_HEADER_ITEM', 311, im, 'song list header item')
    im = Img(1, 23)
    im.vgrad(0, 0, 1, 23, WHITE, SKY)
    im.rect(0, 22, 1, 23, BLUE_L)
    bmp('IDB_HEADER_BACK', 313, im, 'song list header background and left edge')
    im = Img(2, 23)
    im.vgrad(0, 0, 2, 23, WHITE, SKY)
    im.rect(0, 3, 1, 20, BLUE_L)
    im.rect(1, 3, 2, 20, WHITE)
    bmp('IDB_HEADER_DIVIDER', 312, im, 'song list header divider')

    # scroll bar skin: 9 columns x 3 rows of 16 px cells
    cell = 16
    sb = Img(144, 48)
    for row, st in enumerate(('normal', 'hot', 'pressed')):
        y0 = row * cell
        face_t, face_b = {'normal': (WHITE, SKY), 'hot': (ICE, shade(BLUE_L, 0.35)),
                          'pressed': (shade(BLUE_L, 0.3), BLUE_L)}[st]
        arrow_c = NAVY if st != 'pressed' else WHITE
        track = shade(SKY, 0.45) if st == 'normal' else (SKY if st == 'hot' else shade(BLUE_L, 0.4))
        for col in range(9):
            x0 = col * cell
            sb.rect(x0, y0, x0 + cell, y0 + cell, track)
            if col in (0, 1, 4, 5):
                sb.rrect_v(x0 + 1, y0 + 1, x0 + 15, y0 + 15, 2.5, face_t, face_b)
                sb.frame_rrect(x0 + 1, y0 + 1, x0 + 15, y0 + 15, 2.5, 1, BLUE_L)
                pts = {0: [(8, 5), (12, 10), (4, 10)], 1: [(4, 6), (12, 6), (8, 11)],
                       4: [(5, 8), (10, 4), (10, 12)], 5: [(6, 4), (11, 8), (6, 12)]}[col]
                sb.poly([(x0 + px, y0 + py) for px, py in pts], arrow_c)
            elif col in (2, 6):
                sb.rrect_v(x0 + 2, y0 + 1, x0 + 14, y0 + 15, 3, face_t, face_b) if col == 2 else \
                    sb.rrect_v(x0 + 1, y0 + 2, x0 + 15, y0 + 14, 3, face_t, face_b)
                if col == 2:
                    sb.frame_rrect(x0 + 2, y0 + 1, x0 + 14, y0 + 15, 3, 1, BLUE_L)
                    for k in (6, 8, 10):
                        sb.rect(x0 + 5, y0 + k, x0 + 11, y0 + k + 1, BLUE_L)
                else:
                    sb.frame_rrect(x0 + 1, y0 + 2, x0 + 15, y0 + 14, 3, 1, BLUE_L)
                    for k in (6, 8, 10):
                        sb.rect(x0 + k, y0 + 5, x0 + k + 1, y0 + 11, BLUE_L)
            elif col == 3:
                sb.rect(x0, y0, x0 + 1, y0 + cell, shade(BLUE_L, 0.5))
                sb.rect(x0 + 15, y0, x0 + 16, y0 + cell, shade(BLUE_L, 0.5))
            elif col == 7:
                sb.rect(x0, y0, x0 + cell, y0 + 1, shade(BLUE_L, 0.5))
                sb.rect(x0, y0 + 15, x0 + cell, y0 + 16, shade(BLUE_L, 0.5))
            elif col == 8:
                sb.rect(x0, y0, x0 + cell, y0 + cell, SKY)
                # size-grip dots: right-hand bar in row 0, left-hand bar in row 1
                if row in (0, 1):
                    for k in range(3):
                        for j in range(k + 1):
                            gx = (12 - j * 4) if row == 0 else (2 + j * 4)
                            sb.rect(x0 + gx, y0 + 12 - (k - j) * 4, x0 + gx + 2, y0 + 14 - (k - j) * 4, BLUE_L)
    bmp('IDB_SCROLLBAR_SKIN', 298, sb, 'scroll-bar skin: 144 x 48, nine columns by three rows of 16 px cells')

    im = Img(5, 30, SKY)
    for k in range(5):
        im.rect(1, 5 + k * 5, 4, 7 + k * 5, BLUE_L)
    bmp('IDB_SPLITTER_GRIP', 309, im, 'splitter grip')

    # busy animation: 48 frames of 305 x 9, a light wave running along the bar
    for n in range(48):
        im = Img(305, 9)
        for x in range(305):
            phase = (x - n * (305 + 60) / 48) / 60.0
            t = max(0.0, 1 - abs(phase)) if -1 < phase < 1 else 0.0
            stripes = 0.12 if ((x + n * 2) // 6) % 2 == 0 else 0.0
            c = mix(shade(BLUE_L, 0.45), BLUE, min(1.0, t + stripes))
            for y in range(9):
                edge = 0.25 if y in (2, 6) else (1.0 if 2 < y < 6 else 0.0)
                if edge:
                    im.put(x, y, c if edge == 1.0 else mix(ICE, c, 0.5))
        bmp('IDB_BUSY_FRAME_%02d' % (n + 1), 8201 + n, quantize(im.flatten(ICE), 16),
            'busy animation frame %d of 48' % (n + 1), fmt=8)


# ---------------------------------------------------------------------------
# Pictures: avatars, pop-up, board title, mini player, banners

def avatar(size):
    im = Img(size, size)
    im.vgrad(0, 0, size, size, shade(BLUE_L, 0.35), BLUE_L)
    G.person(im, size * 0.1, size * 0.14, size * 0.8, WHITE)
    im.frame_rrect(0, 0, size, size, 1, 1, BLUE_L)
    return im.flatten(WHITE)


def make_pictures():
    bmp('IDB_DEFAULT_AVATAR', 299, avatar(42), 'default avatar, 42 x 42')
    bmp('IDB_DEFAULT_AVATAR_SMALL', 300, avatar(30), 'default avatar of the buddy list, 30 x 30')

    for rid, name, hot in ((228, 'IDB_POPUP_SKIN', False), (229, 'IDB_POPUP_SKIN_HOT', True)):
        w, h = 200, 120
        im = Img(w, h)
        im.rrect(0, 0, w, h, 6, BORDER)
        im.rrect(1, 1, w - 1, h - 1, 5, WHITE, lambda x, y: mix(WHITE, ICE, y / h))
        im.rrect_v(1, 1, w - 1, 26, 5, CAP_TOP, CAP_BOT)
        im.vgrad(1, 12, w - 1, 26, mix(CAP_TOP, CAP_BOT, 11 / 25), CAP_BOT)
        G.note(im, 6, 4, 18, WHITE)
        if hot:
            im.frame_rrect(2, 27, w - 2, h - 2, 4, 1.5, BLUE_L)
        out = im.keyed(edge=WHITE)
        for corner in ('tl', 'tr', 'bl', 'br'):
            corner_cut(out, corner, 6)
        bmp(name, rid, out, 'notification pop-up picture (its magenta pixels cut the window)')

    for rid, name, w in ((9, 'IDB_BOARD_TITLE_LEFT', 40), (425, 'IDB_BOARD_TITLE_MIDDLE', 1),
                         (426, 'IDB_BOARD_TITLE_RIGHT', 30)):
        im = Img(w, 24)
        im.vgrad(0, 0, w, 24, CAP_TOP, CAP_BOT)
        bmp(name, rid, im, 'board title bar piece')

    # mini player: left piece with the buttons' ground, 90 px title piece, middle, right
    for rid, name, w in ((386, 'IDB_MINI_LEFT', 100), (391, 'IDB_MINI_TITLE', 90), (387, 'IDB_MINI_MIDDLE', 1),
                         (388, 'IDB_MINI_RIGHT', 40)):
        im = Img(w, 26)
        im.vgrad(0, 0, w, 26, CAP_TOP, CAP_BOT)
        im.rect(0, 0, w, 1, BORDER)
        im.rect(0, 25, w, 26, BORDER)
        if rid in (391, 387):
            im.rrect(0 if rid == 387 else 4, 4, w, 22, 3 if rid == 391 else 0, shade(CAP_BOT, -0.15))
        if rid == 386:
            im.rect(0, 0, 1, 26, BORDER)
        if rid == 388:
            im.rect(w - 1, 0, w, 26, BORDER)
            im.rect(0, 4, 6, 22, shade(CAP_BOT, -0.15))
        out = im.keyed()
        if rid == 386:
            corner_cut(out, 'tl')
            corner_cut(out, 'bl')
        if rid == 388:
            corner_cut(out, 'tr')
            corner_cut(out, 'br')
        bmp(name, rid, out, 'mini player piece')

    im = Img(189, 24)
    im.rrect_v(0, 0, 189, 24, 4, ICE, SKY)
    im.frame_rrect(0, 0, 189, 24, 4, 1, BLUE_L)
    bmp('IDB_CHAT_LISTENING_BACK', 347, im.keyed(edge=WHITE), 'chat: background of the listening line')
    im = Img(34, 34, WHITE)
    im.frame_rrect(0, 0, 34, 34, 2, 1.2, BLUE_L)
    bmp('IDB_PICTURE_FRAME', 331, im.flatten(WHITE), 'avatar chooser: picture frame')
    im = Img(120, 20)
    im.rrect_v(0, 0, 120, 20, 4, WHITE, SKY)
    G.note(im, 4, 2, 16, BLUE)
    G.send(im, 24, 2, 16, BLUE)
    # Drawn opaque by the dialog base: its corners take the dialog's grey.
    bmp('IDB_PUSH_SONG_TITLE', 333, im.flatten((232, 232, 232)), 'push-song dialogs: title picture')
    im = Img(120, 20)
    im.rrect_v(0, 0, 120, 20, 4, WHITE, SKY)
    G.person(im, 4, 2, 16, BLUE)
    bmp('IDB_AVATAR_CHOOSER_TITLE', 142, im.keyed(edge=WHITE), 'avatar chooser: title picture')


# ---------------------------------------------------------------------------
# Icons and cursors

def icon_images(draw, sizes=(16, 32)):
    out = []
    for s in sizes:
        w, h = (s, s) if isinstance(s, int) else s
        im = Img(w, h)
        draw(im, w, h)
        out.append(im)
    return out


def badge(colour, inner=None):
    def draw(im, w, h):
        s = min(w, h)
        im.circle(w / 2, h / 2, s * 0.45, shade(colour, -0.25))
        im.circle(w / 2, h / 2, s * 0.38, colour, grad=lambda x, y: mix(shade(colour, 0.35), colour, y / h))
        if inner:
            inner(im, w / 2 - s * 0.3, h / 2 - s * 0.3, s * 0.6, WHITE)
    return draw


def app_icon(overlay=None):
    def draw(im, w, h):
        s = min(w, h)
        im.rrect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.22, BLUE, grad=lambda x, y: mix(shade(BLUE, 0.35),
                                                                                    shade(BLUE, -0.15), y / s))
        G.note(im, s * 0.12, s * 0.12, s * 0.76, WHITE)
        if overlay:
            c, gl = overlay
            im.circle(s * 0.74, s * 0.74, s * 0.25, WHITE)
            im.circle(s * 0.74, s * 0.74, s * 0.2, c)
            if gl:
                gl(im, s * 0.58, s * 0.58, s * 0.32, WHITE)
    return draw


def glyph_icon(gl, colour, plate=None):
    def draw(im, w, h):
        s = min(w, h)
        if plate:
            im.rrect(0.5, 0.5, w - 0.5, h - 0.5, s * 0.2, plate)
        gl(im, (w - s) / 2, (h - s) / 2, s, colour)
    return draw


def mark_icon(gl, colour, state):
    """25 x 18 list marks in three states (normal, hover, pressed)."""
    def draw(im, w, h):
        if state == 'hover':
            im.rrect(1, 0.5, w - 1, h - 0.5, 4, shade(BLUE_L, 0.5))
        if state == 'pressed':
            im.rrect(1, 0.5, w - 1, h - 0.5, 4, BLUE_L)
        s = min(w, h)
        gl(im, (w - s) / 2, 0, s, colour)
    return draw


def iconfile(program, name, rid, images, note):
    rel = 'ico/%d-%s.ico' % (rid, name.lower().replace('idi_', '').replace('_', '-'))
    add(program, 'ICON', name, rid, rel, ico(images), note)


def make_icons():
    for program in ('yeb', 'updater'):
        iconfile(program, 'IDI_APP', 128, icon_images(app_icon(), (16, 32, 48)), 'program icon')
        iconfile(program, 'IDI_APP_SMALL', 326, icon_images(app_icon(), (16, 32)), 'small program icon, tray icon')
    iconfile('yeb', 'IDI_TRAY_BUSY', 314, icon_images(app_icon((RED, G.minimise))), 'tray icon, busy')
    iconfile('yeb', 'IDI_TRAY_AWAY', 315, icon_images(app_icon((AMBER, G.clock))), 'tray icon, away')
    iconfile('yeb', 'IDI_TRAY_INVISIBLE', 316, icon_images(app_icon((GREY, None))), 'tray icon, invisible')

    iconfile('yeb', 'IDI_PRESENCE_ONLINE', 307, icon_images(badge(GREEN, G.check)), 'presence online')
    iconfile('yeb', 'IDI_PRESENCE_AWAY', 302, icon_images(badge(AMBER, G.clock)), 'presence away')
    iconfile('yeb', 'IDI_PRESENCE_BUSY', 303, icon_images(badge(RED, G.minimise)), 'presence busy')
    iconfile('yeb', 'IDI_PRESENCE_INVISIBLE', 306, icon_images(badge(GREY)), 'presence invisible')
    iconfile('yeb', 'IDI_BUDDY_STATE', 301, icon_images(glyph_icon(G.star, AMBER)), 'buddy list state mark')
    iconfile('yeb', 'IDI_LISTENING', 304, icon_images(glyph_icon(G.note, BLUE)), 'listening line')
    iconfile('yeb', 'IDI_OWN_ROW', 305, icon_images(glyph_icon(G.home, WHITE, BLUE), (16, 30, 32)),
             'own row of the buddy list (30 x 30)')
    iconfile('yeb', 'IDI_GROUP_HEADER', 308, icon_images(glyph_icon(G.folder, BLUE)), 'buddy group header')
    iconfile('yeb', 'IDI_PLAYING_MARK', 310, icon_images(mark_icon(G.play, BLUE, 'normal'), ((25, 18), 16, 32)),
             'playing mark and marked row (25 x 18)')
    iconfile('yeb', 'IDI_SONG_UNAVAILABLE', 317, icon_images(mark_icon(G.arrow_down, GREY, 'normal'),
                                                            ((25, 18), 16, 32)),
             'song not available yet (25 x 18)')
    for rid, name, st in ((318, 'IDI_PUSH_SONG', 'normal'), (319, 'IDI_PUSH_SONG_HOVER', 'hover'),
                          (320, 'IDI_PUSH_SONG_PRESSED', 'pressed')):
        iconfile('yeb', name, rid, icon_images(mark_icon(G.send, BLUE, st), ((25, 18), 16, 32)),
                 'push icon of a song row (25 x 18)')
    for rid, name, st in ((321, 'IDI_DOWNLOAD_SONG', 'normal'), (322, 'IDI_DOWNLOAD_SONG_HOVER', 'hover'),
                          (323, 'IDI_DOWNLOAD_SONG_PRESSED', 'pressed')):
        iconfile('yeb', name, rid, icon_images(mark_icon(G.arrow_down, BLUE, st)), 'download icon of a song row')
    for rid, name, st, c in ((436, 'IDI_BOARD', 'normal', BLUE), (435, 'IDI_BOARD_HOVER', 'hover', BLUE),
                             (437, 'IDI_BOARD_PRESSED', 'pressed', BLUE),
                             (439, 'IDI_BOARD_NEW', 'normal', AMBER), (438, 'IDI_BOARD_NEW_HOVER', 'hover', AMBER),
                             (440, 'IDI_BOARD_NEW_PRESSED', 'pressed', AMBER)):
        iconfile('yeb', name, rid, icon_images(mark_icon(G.bubble, c, st)), 'board icon of a song row')
    iconfile('yeb', 'IDI_CHAT', 350, icon_images(glyph_icon(G.bubble, WHITE, BLUE)), 'chat window, small')
    iconfile('yeb', 'IDI_CHAT_BIG', 389, icon_images(glyph_icon(G.bubble, WHITE, BLUE), (32, 48)),
             'chat window, big')
    for rid, name, gl, c, st in ((413, 'IDI_TASK_WAITING', G.clock, GREY, 'normal'),
                                 (422, 'IDI_TASK_RUNNING', G.arrow_down, BLUE, 'normal'),
                                 (421, 'IDI_TASK_DONE', G.check, GREEN, 'normal'),
                                 (417, 'IDI_TASK_FAILED', G.close, RED, 'normal'),
                                 (420, 'IDI_TASK_PLAY', G.play, BLUE, 'normal'),
                                 (419, 'IDI_TASK_PLAY_HOVER', G.play, BLUE, 'hover'),
                                 (418, 'IDI_TASK_PLAY_PRESSED', G.play, BLUE, 'pressed'),
                                 (416, 'IDI_TASK_REMOVE', G.close, NAVY, 'normal'),
                                 (415, 'IDI_TASK_REMOVE_HOVER', G.close, NAVY, 'hover'),
                                 (414, 'IDI_TASK_REMOVE_PRESSED', G.close, NAVY, 'pressed')):
        iconfile('yeb', name, rid, icon_images(mark_icon(gl, c, st)), 'download and upload lists')

    # cursors: hand (103) and drop allowed (101)
    def hand(im, w, h):
        pts = [(9, 1), (12, 1), (13, 3), (13, 11), (15, 10), (18, 11), (20, 12), (23, 13), (25, 15), (25, 23),
               (22, 29), (11, 29), (4, 19), (4, 16), (6, 15), (9, 18), (9, 3)]
        im.poly([(x + 0.5, y + 0.5) for x, y in pts], (0, 0, 0))
        inner = [(10.5, 3), (11.5, 3), (11.5, 13), (13, 13), (13, 12.5), (15.5, 12), (17.5, 13), (20, 14),
                 (23.5, 16), (23.5, 22.5), (21, 27.5), (12, 27.5), (5.8, 18.5), (6.2, 17), (10.5, 20.5)]
        im.poly([(x + 0.5, y + 0.5) for x, y in inner], WHITE)
    add('yeb', 'CURSOR', 'IDC_HAND_CURSOR', 103, 'cur/103-hand.cur', ico(icon_images(hand, (32,)), (10, 1)),
        'hand cursor')

    def drop(im, w, h):
        pts = [(1, 1), (1, 18), (5, 14), (8, 21), (11, 20), (8, 13), (13, 13)]
        im.poly([(x + 0.5, y + 0.5) for x, y in pts], (0, 0, 0))
        inner = [(2.5, 4), (2.5, 15), (5.5, 12), (8.5, 19), (9.5, 18.5), (6.5, 11.5), (10, 11.5)]
        im.poly([(x + 0.5, y + 0.5) for x, y in inner], WHITE)
        im.rrect(14, 16, 28, 30, 2, shade(BLUE, -0.3))
        im.rrect(15, 17, 27, 29, 1.5, BLUE)
        G.plus(im, 14, 16, 14, WHITE)
    add('yeb', 'CURSOR', 'IDC_DROP_CURSOR', 101, 'cur/101-drop.cur', ico(icon_images(drop, (32,)), (1, 1)),
        'drop-allowed cursor')


# ---------------------------------------------------------------------------
# Animations (PNG, RCDATA), sounds (WAVE), loading page

def login_frame(n):
    w, h = 226, 152
    im = Img(w, h)
    im.rrect(0, 0, w, h, 12, (255, 255, 255))
    for i, p in enumerate(im.px):
        p[3] *= 0.82
    im.frame_rrect(0, 0, w, h, 12, 1.5, BLUE_L)
    cx, cy = w / 2, 66
    for k in range(12):
        a = math.radians(k * 30 - 90)
        age = (n - k) % 12
        c = mix(BLUE, shade(BLUE_L, 0.6), age / 11)
        im.circle(cx + 38 * math.cos(a), cy + 38 * math.sin(a), 6 - age * 0.3, c)
    G.note(im, cx - 18, cy - 18, 36, BLUE)
    for k in range(3):
        on = (n // 2) % 3 == k
        im.circle(cx - 14 + k * 14, 128, 4, BLUE if on else shade(BLUE_L, 0.5))
    return im


def loading_frame(n):
    im = Img(40, 18)
    im.rrect(0, 0, 40, 18, 5, WHITE)
    for i, p in enumerate(im.px):
        p[3] *= 0.9
    im.frame_rrect(0, 0, 40, 18, 5, 1, BLUE_L)
    for k in range(3):
        t = (n / 12.0 * 2 * math.pi) - k * 0.9
        lift = max(0.0, math.sin(t)) * 4
        im.circle(11 + k * 9, 10 - lift, 3, mix(shade(BLUE_L, 0.3), BLUE, lift / 4))
    return im


def make_animations():
    for n in range(12):
        add('yeb', 'RCDATA', 'IDR_LOGIN_FRAME_%02d' % (n + 1), 8101 + n, 'png/%d-login-%02d.png' % (8101 + n, n + 1),
            png(login_frame(n)), 'login animation frame (PNG, 226 x 152, straight alpha)')
    for n in range(12):
        add('yeb', 'RCDATA', 'IDR_LOADING_FRAME_%02d' % (n + 1), 8306 + n,
            'png/%d-loading-%02d.png' % (8306 + n, n + 1), png(loading_frame(n)),
            'library loading animation frame (PNG, 40 x 18, straight alpha)')


def tone(freqs, dur, rate=11025, vol=0.45):
    """Short chime: each (frequency, start) note decays softly."""
    n = int(dur * rate)
    out = [0.0] * n
    for f, start in freqs:
        s0 = int(start * rate)
        for i in range(s0, n):
            t = (i - s0) / rate
            env = math.exp(-t * 9) * min(1.0, t * 400)
            out[i] += vol * env * (math.sin(2 * math.pi * f * t) + 0.25 * math.sin(4 * math.pi * f * t))
    return out


def make_sounds():
    base = [523.25, 587.33, 659.25, 698.46, 783.99, 880.0, 987.77, 1046.5]
    for k in range(8):
        f = base[k]
        add('yeb', 'WAVE', 'IDW_BUDDY_ONLINE_%d' % (k + 1), 355 + k, 'wav/%d-online-%d.wav' % (355 + k, k + 1),
            wave(tone([(f, 0), (f * 1.25, 0.09)], 0.4), 11025), 'buddy online chime %d' % (k + 1))
    add('yeb', 'WAVE', 'IDW_SONG_COLLECTED', 363, 'wav/363-collected.wav',
        wave(tone([(784, 0), (988, 0.08), (1175, 0.16)], 0.5), 11025), 'a buddy collected my song')
    add('yeb', 'WAVE', 'IDW_SONG_PUSHED', 364, 'wav/364-pushed.wav',
        wave(tone([(659, 0), (880, 0.1), (659, 0.2), (880, 0.3)], 0.55), 11025), 'a buddy pushed a song')
    add('yeb', 'WAVE', 'IDW_BUDDY_LISTENING', 365, 'wav/365-listening.wav',
        wave(tone([(440, 0), (554, 0.12)], 0.45), 11025), 'a buddy listens to my song')


LOADING_HTM = """<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>Yeb360</title>
<style>
body { margin: 0; background: #ffffff; font: 12px "SimSun", sans-serif; color: #1e467c; }
div.box { position: absolute; top: 40%; width: 100%; text-align: center; }
</style>
</head>
<body>
<div class="box"><img src="LOADING.PNG" width="40" height="18" alt=""><br>
\u6b63\u5728\u6253\u5f00\u9875\u9762\uff0c\u8bf7\u7a0d\u5019\u2026</div>
</body>
</html>
"""


def make_page():
    add('yeb', 'HTML', 'LOADING.HTM', None, 'html/loading.htm', LOADING_HTM.encode('utf-8'),
        'placeholder page of the embedded browsers')
    add('yeb', 'HTML', 'LOADING.PNG', None, 'html/loading.png', png(loading_frame(3)),
        'picture of the placeholder page')


# ---------------------------------------------------------------------------
# Output

def write_program(program, art_dir, rc_name, header):
    entries = catalogue[program]
    seen = {}
    for kind, name, rid, rel, data, note in entries:
        key = (kind, name)
        seen[key] = (kind, name, rid, rel, data, note)  # a later entry of the same name replaces the earlier
    entries = sorted(seen.values(), key=lambda e: (e[0], e[2] if e[2] is not None else 0, e[1]))
    wanted = set()
    for kind, name, rid, rel, data, note in entries:
        path = os.path.join(art_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
        wanted.add(os.path.normpath(path))
    for sub in ('bmp', 'ico', 'cur', 'png', 'wav', 'html'):
        d = os.path.join(art_dir, sub)
        if os.path.isdir(d):
            for fn in os.listdir(d):
                p = os.path.normpath(os.path.join(d, fn))
                if p not in wanted:
                    os.remove(p)
    rc = ['// Artwork of %s, made by tools/make-art.py; do not edit by hand.' %
          ('Yeb' if program == 'yeb' else 'Yeb360Update'), '']
    types = {'BITMAP': 'BITMAP', 'ICON': 'ICON', 'CURSOR': 'CURSOR', 'RCDATA': 'RCDATA', 'WAVE': 'WAVE',
             'HTML': 'HTML'}
    for kind, name, rid, rel, data, note in entries:
        # named pages use the numeric HTML type (23), as the browser's res: protocol expects
        rc.append('%-32s %-7s "%s"' % (name, types[kind] if rid is not None else '23', rel))
    with open(os.path.join(art_dir, rc_name), 'w', newline='\r\n') as f:
        f.write('\n'.join(rc) + '\n')

    block = ['// BEGIN ARTWORK IDS (tools/make-art.py keeps this block)']
    last = None
    titles = {'BITMAP': 'Bitmaps', 'ICON': 'Icons', 'CURSOR': 'Cursors', 'RCDATA': 'PNG pictures (RCDATA)',
              'WAVE': 'Sounds (WAVE)'}
    for kind, name, rid, rel, data, note in entries:
        if rid is None:
            continue
        if kind != last:
            block.append('// %s' % titles[kind])
            last = kind
        block.append('#define %-32s %-5d // %s' % (name, rid, note))
    block.append('// END ARTWORK IDS')
    with open(header, encoding='utf-8') as f:
        text = f.read()
    new = re.sub(r'// BEGIN ARTWORK IDS.*?// END ARTWORK IDS', lambda m: '\n'.join(block), text, flags=re.S)
    if new == text and '// BEGIN ARTWORK IDS' not in text:
        raise SystemExit('%s has no artwork block' % header)
    with open(header, 'w', encoding='utf-8') as f:
        f.write(new)
    total = sum(len(e[4]) for e in entries)
    print('%s: %d resources, %d bytes' % (program, len(entries), total))


def main():
    random.seed(360)
    make_frames()
    make_buttons()
    make_controls()
    make_pictures()
    make_icons()
    make_animations()
    make_sounds()
    make_page()
    write_program('yeb', os.path.join(ROOT, 'resources', 'art'), 'yeb-art.rc',
                  os.path.join(ROOT, 'resources', 'resource.h'))
    write_program('updater', os.path.join(ROOT, 'resources', 'updater', 'art'), 'updater-art.rc',
                  os.path.join(ROOT, 'resources', 'updater', 'resource.h'))


if __name__ == '__main__':
    main()
