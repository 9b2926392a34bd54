#!/usr/bin/env python3
"""Makes the client's window style "NormalBlue": the style text and the
pictures that the skinning framework draws windows and standard controls
with, in the calm blue and white look of the rest of the artwork.

    python3 tools/make-skin-style.py

writes below resources/skin/:
  NormalBlue.ini      the style text (ASCII, CR LF lines), usable as a folder style
  Blue/*.bmp, *.png   its pictures (24-bit BMP with magenta 0xFF00FF as the
                      transparent colour; PNG with alpha for the round glyphs)
  text/*.u16          the two texts as the style library holds them: UTF-16LE
                      with a byte-order mark (NormalBlue.ini and THEMES.ini)
  scrollbar.rc        the resource script of the style library scrollbar.skin

Names of sections and properties are the framework's own vocabulary:
classes, parts and states of the window-part schema, values as "r g b"
colours, "left, right, top, bottom" margins and "Face, size, style" fonts.
The generated files are committed, so the build does not run this script.
"""

import importlib.util
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'art'))

from raster import Img, MAGENTA, mix, shade, bmp24, png  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, 'resources', 'skin')

# -- palette: the one of the rest of the artwork ---------------------------------
_art = importlib.util.spec_from_file_location('make_art', os.path.join(ROOT, 'tools', 'make-art.py'))
ART = importlib.util.module_from_spec(_art)
_art.loader.exec_module(ART)
CAP_TOP, CAP_BOT, BORDER, NAVY = ART.CAP_TOP, ART.CAP_BOT, ART.BORDER, ART.NAVY
BLUE, BLUE_L, SKY, ICE, WHITE = ART.BLUE, ART.BLUE_L, ART.SKY, ART.ICE, ART.WHITE
GREY, RED = ART.GREY, ART.RED
GREY_L = (206, 212, 220)
INACTIVE_TOP = (150, 178, 210)
INACTIVE_BOT = (124, 154, 190)

pictures = {}  # relative name -> bytes


def add_bmp(name, img):
    pictures['Blue/%s.bmp' % name] = bmp24(img.keyed())


def add_png(name, img):
    pictures['Blue/%s.png' % name] = png(img)


def vstrip(cells):
    """Cells of equal size one below the other (the style's vertical layout)."""
    w, h = cells[0].w, cells[0].h
    o = Img(w, h * len(cells))
    for i, c in enumerate(cells):
        for y in range(h):
            for x in range(w):
                o.px[(i * h + y) * w + x] = list(c.get(x, y))
    return o


# -- looks of one control state -------------------------------------------------
# normal, hot, pressed, disabled (and a few more for the kinds that have them)
FACE = {
    'normal': (WHITE, SKY, BLUE),
    'hot': (ICE, BLUE_L, BLUE),
    'pressed': (BLUE_L, SKY, NAVY),
    'disabled': (ICE, ICE, GREY_L),
    'defaulted': (WHITE, SKY, NAVY),
}


def face(w, h, look, r=3):
    top, bottom, edge = FACE[look]
    im = Img(w, h)
    im.rrect(0, 0, w, h, r, edge)
    im.rrect_v(1, 1, w - 1, h - 1, max(1, r - 1), top, bottom)
    return im


def arrow(im, cx, cy, s, direction, c):
    """A small filled triangle pointing up, down, left or right."""
    pts = {'up': [(cx - s, cy + s / 2), (cx + s, cy + s / 2), (cx, cy - s / 2)],
           'down': [(cx - s, cy - s / 2), (cx + s, cy - s / 2), (cx, cy + s / 2)],
           'left': [(cx + s / 2, cy - s), (cx + s / 2, cy + s), (cx - s / 2, cy)],
           'right': [(cx - s / 2, cy - s), (cx - s / 2, cy + s), (cx + s / 2, cy)]}[direction]
    im.poly(pts, c)


def glyph_colour(look):
    return GREY if look == 'disabled' else NAVY


# -- window frame ----------------------------------------------------------------
def caption(h, active):
    top, bottom = (CAP_TOP, CAP_BOT) if active else (INACTIVE_TOP, INACTIVE_BOT)
    w = 40
    im = Img(w, h)
    im.rrect(0, 0, w, h + 8, 6, BORDER)
    im.rrect_v(1, 1, w - 1, h + 8, 5, shade(top, 0.15), bottom)
    return im


def frame_side(w, h, active):
    im = Img(w, h, WHITE)
    im.rect(0, 0, 1, h, BORDER if active else INACTIVE_BOT)
    im.rect(1, 0, w, h, shade(CAP_BOT if active else INACTIVE_BOT, 0.55))
    im.rect(w - 1, 0, w, h, SKY)
    return im


def frame_bottom(w, h, active):
    im = Img(w, h, SKY)
    im.rect(0, h - 1, w, h, BORDER if active else INACTIVE_BOT)
    im.rect(0, 0, w, h - 1, shade(CAP_BOT if active else INACTIVE_BOT, 0.55))
    im.rect(0, 0, 1, h, BORDER if active else INACTIVE_BOT)
    im.rect(w - 1, 0, w, h, BORDER if active else INACTIVE_BOT)
    return im


def caption_button(size, mark, look, active):
    """A rounded button on the caption band: light glyph, red face when a
    close button is hot or pressed."""
    im = Img(size, size)
    base = CAP_BOT if active else INACTIVE_BOT
    fill = {'normal': shade(base, 0.12), 'hot': shade(base, 0.3), 'pressed': shade(base, -0.25),
            'disabled': shade(base, 0.05)}[look]
    if mark == 'close' and look in ('hot', 'pressed'):
        fill = RED if look == 'hot' else shade(RED, -0.2)
    im.rrect(0, 0, size, size, 3, shade(base, -0.2))
    im.rrect(1, 1, size - 1, size - 1, 2, fill)
    c = shade(WHITE, -0.25) if look == 'disabled' else WHITE
    m = size * 0.3
    if mark == 'close':
        im.seg(m, m, size - m, size - m, 1.8, c)
        im.seg(size - m, m, m, size - m, 1.8, c)
    elif mark == 'min':
        im.rect(int(m), int(size - m - 2), int(size - m), int(size - m), c)
    elif mark == 'max':
        im.frame_rrect(m, m, size - m, size - m, 0.5, 1.5, c)
        im.rect(int(m), int(m), int(size - m), int(m) + 2, c)
    elif mark == 'restore':
        s = size - 2 * m
        im.frame_rrect(m + s * 0.3, m, size - m, size - m - s * 0.3, 0.5, 1.2, c)
        im.frame_rrect(m, m + s * 0.3, size - m - s * 0.3, size - m, 0.5, 1.2, c)
    elif mark == 'help':
        im.arc(size / 2, size * 0.4, size * 0.15, 1.6, -60, 180, c)
        im.seg(size / 2, size * 0.55, size / 2, size * 0.62, 1.6, c)
        im.circle(size / 2, size * 0.75, 1.0, c)
    elif mark == 'sys':
        im.circle(size / 2, size / 2, size * 0.22, c)
    return im


def caption_buttons(size, mark):
    looks = ['normal', 'hot', 'pressed', 'disabled']
    return vstrip([caption_button(size, mark, lk, True) for lk in looks] +
                  [caption_button(size, mark, lk, False) for lk in looks])


def make_frame():
    add_bmp('Caption', vstrip([caption(26, True), caption(26, False), caption(26, False)]))
    add_bmp('SmallCaption', vstrip([caption(20, True), caption(20, False), caption(20, False)]))
    add_bmp('FrameLeft', vstrip([frame_side(4, 24, True), frame_side(4, 24, False)]))
    right = [frame_side(4, 24, a) for a in (True, False)]
    for im in right:
        flipped = Img(im.w, im.h)
        for y in range(im.h):
            for x in range(im.w):
                flipped.px[y * im.w + x] = list(im.get(im.w - 1 - x, y))
        im.px = flipped.px
    add_bmp('FrameRight', vstrip(right))
    add_bmp('FrameBottom', vstrip([frame_bottom(24, 4, True), frame_bottom(24, 4, False)]))
    for mark, name in (('close', 'CloseButton'), ('min', 'MinButton'), ('max', 'MaxButton'),
                       ('restore', 'RestoreButton'), ('help', 'HelpButton'), ('sys', 'SysButton')):
        add_bmp(name, caption_buttons(18, mark))
    add_bmp('SmallCloseButton', caption_buttons(14, 'close'))


# -- buttons ---------------------------------------------------------------------
def make_buttons():
    add_bmp('PushButton', vstrip([face(24, 22, lk) for lk in ('normal', 'hot', 'pressed', 'disabled', 'defaulted')]))

    def radio(look, checked):
        im = Img(13, 13)
        top, bottom, edge = FACE[look]
        im.circle(6.5, 6.5, 6.2, edge)
        im.circle(6.5, 6.5, 5.2, bottom, lambda x, y: mix(top, bottom, y / 13))
        if checked:
            im.circle(6.5, 6.5, 2.6, glyph_colour(look))
        return im

    def check(look, mark):
        im = Img(13, 13)
        top, bottom, edge = FACE[look]
        im.rrect(0, 0, 13, 13, 2, edge)
        im.rrect_v(1, 1, 12, 12, 1, top, bottom)
        c = glyph_colour(look)
        if mark == 'checked':
            im.seg(3.2, 6.6, 5.5, 9.0, 1.7, c)
            im.seg(5.5, 9.0, 9.8, 3.8, 1.7, c)
        elif mark == 'mixed':
            im.rect(3, 5, 10, 8, c)
        return im

    looks = ('normal', 'hot', 'pressed', 'disabled')
    add_png('RadioButton', vstrip([radio(lk, c) for c in (False, True) for lk in looks]))
    add_png('CheckBox', vstrip([check(lk, m) for m in ('unchecked', 'checked', 'mixed') for lk in looks]))


# -- scroll bars -----------------------------------------------------------------
def scroll_arrow(direction, look):
    im = face(16, 16, look, 2)
    arrow(im, 8, 8, 3.5, direction, glyph_colour(look))
    return im


def make_scrollbars():
    cells = []
    for direction in ('up', 'down', 'left', 'right'):
        for look in ('normal', 'hot', 'pressed', 'disabled'):
            cells.append(scroll_arrow(direction, look))
    # The hover look: arrows of a bar under the pointer while the arrow itself is not.
    for direction in ('up', 'down', 'left', 'right'):
        im = Img(16, 16)
        im.rrect(0, 0, 16, 16, 2, BLUE_L)
        im.rrect_v(1, 1, 15, 15, 1, WHITE, ICE)
        arrow(im, 8, 8, 3.5, direction, NAVY)
        cells.append(im)
    add_bmp('ArrowBtn', vstrip(cells))

    looks = ('normal', 'hot', 'pressed', 'disabled')
    add_bmp('ThumbBtnVert', vstrip([face(16, 24, lk, 3) for lk in looks]))
    add_bmp('ThumbBtnHorz', vstrip([face(24, 16, lk, 3) for lk in looks]))

    def track(w, h, look, vertical):
        shade_of = {'normal': ICE, 'hot': SKY, 'pressed': BLUE_L, 'disabled': WHITE}[look]
        im = Img(w, h, shade_of)
        if vertical:
            im.rect(0, 0, 1, h, SKY)
            im.rect(w - 1, 0, w, h, SKY)
        else:
            im.rect(0, 0, w, 1, SKY)
            im.rect(0, h - 1, w, h, SKY)
        return im

    add_bmp('TrackVert', vstrip([track(16, 8, lk, True) for lk in looks]))
    add_bmp('TrackHorz', vstrip([track(8, 16, lk, False) for lk in looks]))

    def gripper(vertical, look):
        im = Img(8, 8)
        c = glyph_colour(look) if look != 'normal' else BLUE
        for i in range(3):
            if vertical:
                im.rect(1, 1 + i * 3, 7, 2 + i * 3, c)
            else:
                im.rect(1 + i * 3, 1, 2 + i * 3, 7, c)
        return im

    add_bmp('GripperVert', vstrip([gripper(True, lk) for lk in looks]))
    add_bmp('GripperHorz', vstrip([gripper(False, lk) for lk in looks]))

    def size_box(right):
        im = Img(16, 16)
        for i in range(3):
            for j in range(i + 1):
                x = 12 - j * 4 if right else 2 + j * 4
                y = 12 - (i - j) * 4
                im.rect(x, y, x + 2, y + 2, BLUE)
        return im

    add_bmp('SizeBox', vstrip([size_box(True), size_box(False)]))


# -- edits, lists, combo boxes, headers ------------------------------------------
def make_fields():
    looks = ('normal', 'hot', 'pressed', 'disabled')

    def combo_frame(look):
        edge = {'normal': BLUE, 'hot': NAVY, 'pressed': NAVY, 'disabled': GREY_L}[look]
        im = Img(24, 22, WHITE if look != 'disabled' else ICE)
        im.frame_rrect(0, 0, 24, 22, 2, 1, edge)
        return im

    add_bmp('ComboBox', vstrip([combo_frame(lk) for lk in looks]))

    def drop_button(look):
        im = face(16, 20, look, 2)
        arrow(im, 8, 10, 3.5, 'down', glyph_colour(look))
        return im

    add_bmp('DropDownButton', vstrip([drop_button(lk) for lk in looks]))

    def header(look):
        top, bottom = {'normal': (WHITE, SKY), 'hot': (ICE, BLUE_L), 'pressed': (SKY, BLUE_L)}[look]
        im = Img(30, 20)
        im.vgrad(0, 0, 30, 20, top, bottom)
        im.rect(0, 19, 30, 20, BLUE)
        im.rect(29, 3, 30, 17, BLUE_L)
        return im

    add_bmp('HeaderItem', vstrip([header(lk) for lk in ('normal', 'hot', 'pressed')]))

    def sort_arrow(direction):
        im = Img(9, 5)
        arrow(im, 4.5, 2.5, 3.5, direction, BLUE)
        return im

    add_png('SortArrow', vstrip([sort_arrow('up'), sort_arrow('down')]))

    def tree_glyph(opened):
        im = Img(9, 9, WHITE)
        im.rect(0, 0, 9, 1, BLUE)
        im.rect(0, 8, 9, 9, BLUE)
        im.rect(0, 0, 1, 9, BLUE)
        im.rect(8, 0, 9, 9, BLUE)
        im.rect(2, 4, 7, 5, NAVY)
        if not opened:
            im.rect(4, 2, 5, 7, NAVY)
        return im

    add_bmp('TreeGlyph', vstrip([tree_glyph(False), tree_glyph(True)]))


# -- tabs, track bars, progress, spin, tool bars, status bars ----------------------
def make_bars():
    def tab(look):
        top, bottom = {'normal': (ICE, SKY), 'hot': (WHITE, BLUE_L), 'selected': (WHITE, WHITE),
                       'disabled': (ICE, ICE), 'focused': (WHITE, WHITE)}[look]
        im = Img(30, 22)
        im.rrect(0, 0, 30, 26, 3, BLUE if look != 'disabled' else GREY_L)
        im.rrect_v(1, 1, 29, 26, 2, top, bottom)
        return im

    add_bmp('TabItem', vstrip([tab(lk) for lk in ('normal', 'hot', 'selected', 'disabled', 'focused')]))
    body = Img(8, 8, WHITE)
    body.rect(0, 7, 8, 8, ICE)
    add_bmp('TabBody', body)

    def thumb(look, pointing):
        top, bottom, edge = FACE['pressed' if look == 'focused' else look]
        w, h = (11, 19) if pointing in ('down', 'up') else (19, 11)
        im = Img(w, h)
        if pointing == 'down':
            pts = [(0, 0), (w, 0), (w, h - 5), (w / 2, h), (0, h - 5)]
        elif pointing == 'up':
            pts = [(w / 2, 0), (w, 5), (w, h), (0, h), (0, 5)]
        elif pointing == 'right':
            pts = [(0, 0), (w - 5, 0), (w, h / 2), (w - 5, h), (0, h)]
        else:
            pts = [(5, 0), (w, 0), (w, h), (5, h), (0, h / 2)]
        im.poly(pts, edge)
        inner = Img(w, h)
        inner.poly([(x + (1 if x < w / 2 else -1), y + (1 if y < h / 2 else -1)) for x, y in pts], top)
        im.blit(inner, 0, 0)
        return im

    looks = ('normal', 'hot', 'pressed', 'focused', 'disabled')
    for pointing, name in (('down', 'ThumbBottom'), ('up', 'ThumbTop'), ('right', 'ThumbRight'),
                           ('left', 'ThumbLeft')):
        add_bmp(name, vstrip([thumb(lk, pointing) for lk in looks]))
    add_bmp('Thumb', vstrip([face(11, 19, 'pressed' if lk == 'focused' else lk, 2) for lk in looks]))
    add_bmp('ThumbVert', vstrip([face(19, 11, 'pressed' if lk == 'focused' else lk, 2) for lk in looks]))

    bar = Img(12, 12, WHITE)
    bar.frame_rrect(0, 0, 12, 12, 2, 1, BLUE)
    add_bmp('ProgressBar', bar)
    chunk = Img(6, 10)
    chunk.vgrad(0, 0, 6, 10, BLUE_L, BLUE)
    add_bmp('ProgressChunk', chunk)
    chunk_vert = Img(10, 6)
    chunk_vert.hgrad(0, 0, 10, 6, BLUE_L, BLUE)
    add_bmp('ProgressChunkVert', chunk_vert)

    for direction, name in (('up', 'SpinUp'), ('down', 'SpinDown'), ('left', 'SpinLeft'), ('right', 'SpinRight')):
        cells = []
        for look in ('normal', 'hot', 'pressed', 'disabled'):
            im = face(16, 11, look, 2)
            arrow(im, 8, 5.5, 3, direction, glyph_colour(look))
            cells.append(im)
        add_bmp(name, vstrip(cells))

    def tool(look):
        if look == 'normal':
            im = Img(24, 22)  # flat: only the tool bar's own colour shows
            return im
        if look == 'disabled':
            return Img(24, 22)
        return face(24, 22, {'hot': 'hot', 'pressed': 'pressed', 'checked': 'pressed', 'hotchecked': 'hot'}[look], 3)

    add_bmp('ToolButton', vstrip([tool(lk) for lk in ('normal', 'hot', 'pressed', 'disabled', 'checked',
                                                          'hotchecked')]))
    sep = Img(6, 22)
    sep.rect(2, 2, 3, 20, BLUE_L)
    sep.rect(3, 2, 4, 20, WHITE)
    add_bmp('Separator', sep)
    grip = Img(16, 16)
    for i in range(3):
        for j in range(i + 1):
            x, y = 12 - j * 4, 12 - (i - j) * 4
            grip.rect(x, y, x + 2, y + 2, BLUE)
    add_bmp('StatusGripper', grip)


# -- the style text --------------------------------------------------------------
def rgb(c):
    return '%d %d %d' % c


SYS_COLOURS = [
    ('Scrollbar', ICE), ('Background', CAP_BOT), ('ActiveCaption', CAP_TOP), ('InactiveCaption', INACTIVE_TOP),
    ('Menu', WHITE), ('Window', WHITE), ('WindowFrame', BORDER), ('MenuText', NAVY), ('WindowText', (20, 40, 70)),
    ('CaptionText', WHITE), ('ActiveBorder', SKY), ('InactiveBorder', ICE), ('AppWorkspace', SKY),
    ('Highlight', BLUE), ('HighlightText', WHITE), ('BtnFace', ICE), ('BtnShadow', BLUE_L), ('GrayText', GREY),
    ('BtnText', NAVY), ('InactiveCaptionText', (230, 238, 248)), ('BtnHighlight', WHITE), ('DkShadow3d', BORDER),
    ('Light3d', SKY), ('InfoText', NAVY), ('InfoBk', (250, 252, 255)), ('ButtonAlternateFace', ICE),
    ('HotTracking', BLUE), ('GradientActiveCaption', BLUE_L), ('GradientInactiveCaption', SKY),
    ('MenuHilight', SKY), ('MenuBar', ICE),
]


def section(lines, name, values):
    lines.append('')
    lines.append('[%s]' % name)
    for key, value in values:
        lines.append('%s = %s' % (key, value))


def image(name, count, layout='Vertical', margins=None, sizing='Stretch', transparent=False, extra=()):
    values = [('BgType', 'ImageFile'), ('ImageFile', 'Blue\\' + name), ('ImageCount', count),
              ('ImageLayout', layout), ('SizingType', sizing)]
    if margins:
        values.append(('SizingMargins', margins))
    if transparent:
        values += [('Transparent', 'True'), ('TransparentColor', rgb(MAGENTA))]
    return values + list(extra)


def border_fill(border, fill, size=1, extra=()):
    values = [('BgType', 'BorderFill'), ('BorderSize', size), ('BorderColor', rgb(border))]
    if fill is not None:
        values.append(('FillColor', rgb(fill)))
    return values + list(extra)


def style_text():
    L = ['; NormalBlue: the window style of Yeb, made by tools/make-skin-style.py.',
         '; Comments stand on lines of their own.']
    section(L, 'Documentation', [('DisplayName', 'Normal Blue'), ('Author', 'Yeb'),
                                 ('Description', 'Blue and white frames and controls for Yeb'),
                                 ('Version', '1.0')])
    metrics = [('CaptionFont', 'MS Shell Dlg, 9, Bold'), ('SmallCaptionFont', 'MS Shell Dlg, 8, Bold'),
               ('MenuFont', 'MS Shell Dlg, 9'), ('StatusFont', 'MS Shell Dlg, 8'), ('MsgBoxFont', 'MS Shell Dlg, 9'),
               ('IconTitleFont', 'MS Shell Dlg, 8'), ('FlatMenus', 'True'), ('SizingBorderWidth', 4),
               ('ScrollbarWidth', 16), ('ScrollbarHeight', 16), ('CaptionBarWidth', 18),
               ('CaptionBarHeight', 24), ('SmCaptionBarWidth', 14), ('SmCaptionBarHeight', 18),
               ('MenuBarWidth', 18), ('MenuBarHeight', 20)]
    metrics += [(name, rgb(colour)) for name, colour in SYS_COLOURS]
    section(L, 'SysMetrics', metrics)
    section(L, 'Globals', [('TextColor', rgb(NAVY)), ('MirrorImage', 'False')])

    # Frames, captions and caption buttons
    section(L, 'Window', border_fill(BLUE, None))
    for part, name in (('Caption', 'Caption'), ('SmallCaption', 'SmallCaption'), ('MinCaption', 'Caption'),
                       ('SmallMinCaption', 'SmallCaption'), ('MaxCaption', 'Caption'),
                       ('SmallMaxCaption', 'SmallCaption')):
        section(L, 'Window.' + part, image(name + '.bmp', 3, margins='8, 8, 6, 2', transparent=True,
                                           extra=[('CaptionMargins', '4, 4, 0, 0'), ('TextColor', rgb(WHITE)),
                                                  ('TextShadowType', 'Single'), ('TextShadowOffset', '1, 1'),
                                                  ('TextShadowColor', rgb(CAP_BOT))]))
    section(L, 'Window.Caption(Inactive)', [('TextColor', rgb((230, 238, 248))), ('TextShadowType', 'None')])
    for part, name in (('FrameLeft', 'FrameLeft'), ('SmallFrameLeft', 'FrameLeft'), ('FrameRight', 'FrameRight'),
                       ('SmallFrameRight', 'FrameRight'), ('FrameBottom', 'FrameBottom'),
                       ('SmallFrameBottom', 'FrameBottom')):
        margins = '0, 0, 2, 2' if 'Bottom' not in part else '2, 2, 0, 0'
        section(L, 'Window.' + part, image(name + '.bmp', 2, margins=margins))
    for part, name in (('CloseButton', 'CloseButton'), ('MinButton', 'MinButton'), ('MaxButton', 'MaxButton'),
                       ('RestoreButton', 'RestoreButton'), ('HelpButton', 'HelpButton'),
                       ('SysButton', 'SysButton'), ('SmallCloseButton', 'SmallCloseButton'),
                       ('MdiCloseButton', 'CloseButton'), ('MdiMinButton', 'MinButton'),
                       ('MdiRestoreButton', 'RestoreButton'), ('MdiHelpButton', 'HelpButton'),
                       ('MdiSysButton', 'SysButton')):
        section(L, 'Window.' + part, image(name + '.bmp', 8, margins='4, 4, 4, 4', transparent=True))
    section(L, 'Window.Dialog', border_fill(BLUE, ICE))

    # Buttons
    section(L, 'Button', [('TextColor', rgb(NAVY))])
    section(L, 'Button.PushButton', image('PushButton.bmp', 5, margins='4, 4, 4, 4', transparent=True,
                                          extra=[('ContentMargins', '3, 3, 3, 3')]))
    section(L, 'Button.PushButton(Disabled)', [('TextColor', rgb(GREY))])
    section(L, 'Button.RadioButton', image('RadioButton.png', 8, sizing='TrueSize'))
    section(L, 'Button.CheckBox', image('CheckBox.png', 12, sizing='TrueSize'))
    section(L, 'Button.GroupBox', border_fill(BLUE_L, None, extra=[('BorderOnly', 'True'), ('TextColor', rgb(BLUE))]))
    section(L, 'Button.GroupBox(Disabled)', [('TextColor', rgb(GREY))])

    # Scroll bars
    section(L, 'ScrollBar', [('FillColor', rgb(ICE))])
    section(L, 'ScrollBar.ArrowBtn', image('ArrowBtn.bmp', 20, margins='3, 3, 3, 3', transparent=True))
    section(L, 'ScrollBar.ThumbBtnVert', image('ThumbBtnVert.bmp', 4, margins='3, 3, 4, 4', transparent=True))
    section(L, 'ScrollBar.ThumbBtnHorz', image('ThumbBtnHorz.bmp', 4, margins='4, 4, 3, 3', transparent=True))
    for part in ('LowerTrackVert', 'UpperTrackVert'):
        section(L, 'ScrollBar.' + part, image('TrackVert.bmp', 4, margins='0, 0, 1, 1'))
    for part in ('LowerTrackHorz', 'UpperTrackHorz'):
        section(L, 'ScrollBar.' + part, image('TrackHorz.bmp', 4, margins='1, 1, 0, 0'))
    section(L, 'ScrollBar.GripperVert', image('GripperVert.bmp', 4, sizing='TrueSize', transparent=True))
    section(L, 'ScrollBar.GripperHorz', image('GripperHorz.bmp', 4, sizing='TrueSize', transparent=True))
    section(L, 'ScrollBar.SizeBox', image('SizeBox.bmp', 2, sizing='TrueSize', transparent=True,
                                          extra=[('VAlign', 'Bottom')]))

    # Edits, list boxes, combo boxes
    section(L, 'Edit', border_fill(BLUE, WHITE, extra=[('TextColor', rgb((20, 40, 70)))]))
    section(L, 'Edit.EditText', border_fill(BLUE, WHITE))
    section(L, 'Edit.EditText(Disabled)', border_fill(GREY_L, ICE))
    section(L, 'Edit.EditText(ReadOnly)', border_fill(BLUE_L, ICE))
    section(L, 'ListBox', border_fill(BLUE, WHITE))
    section(L, 'ComboBox', image('ComboBox.bmp', 4, margins='3, 3, 3, 3', transparent=True))
    section(L, 'ComboBox.DropDownButton', image('DropDownButton.bmp', 4, margins='3, 3, 3, 3', transparent=True))

    # Headers, list views, tree views
    section(L, 'Header', border_fill(BLUE_L, WHITE, extra=[('TextColor', rgb(NAVY))]))
    section(L, 'Header.HeaderItem', image('HeaderItem.bmp', 3, margins='2, 2, 2, 2'))
    for part in ('HeaderItemLeft', 'HeaderItemRight'):
        section(L, 'Header.' + part, image('HeaderItem.bmp', 3, margins='2, 2, 2, 2'))
    section(L, 'Header.HeaderSortArrow', image('SortArrow.png', 2, sizing='TrueSize'))
    section(L, 'ListView', border_fill(BLUE, WHITE, extra=[('TextColor', rgb((20, 40, 70)))]))
    section(L, 'ListView.ListItem', [('FillColor', rgb(WHITE))])
    section(L, 'ListView.ListItem(Selected)', [('FillColor', rgb(SKY)), ('TextColor', rgb(NAVY))])
    section(L, 'TreeView', border_fill(BLUE, WHITE))
    section(L, 'TreeView.Glyph', image('TreeGlyph.bmp', 2, sizing='TrueSize'))
    section(L, 'TreeView.TreeItem(Selected)', [('FillColor', rgb(SKY)), ('TextColor', rgb(NAVY))])

    # Tabs, track bars, progress bars, spin buttons
    section(L, 'Tab', [('TextColor', rgb(NAVY))])
    for part in ('TabItem', 'TabItemLeftEdge', 'TabItemRightEdge', 'TabItemBothEdge', 'TopTabItem',
                 'TopTabItemLeftEdge', 'TopTabItemRightEdge', 'TopTabItemBothEdge'):
        section(L, 'Tab.' + part, image('TabItem.bmp', 5, margins='4, 4, 4, 2', transparent=True))
    section(L, 'Tab.Pane', border_fill(BLUE, WHITE))
    section(L, 'Tab.Body', [('BgType', 'BorderFill'), ('BorderSize', 0), ('FillColor', rgb(WHITE)),
                            ('StockImageFile', 'Blue\\TabBody.bmp')])
    section(L, 'Trackbar.Track', border_fill(BLUE, SKY))
    section(L, 'Trackbar.TrackVert', border_fill(BLUE, SKY))
    section(L, 'Trackbar.Tics', border_fill(BLUE_L, None))
    section(L, 'Trackbar.TicsVert', border_fill(BLUE_L, None))
    for part, name in (('Thumb', 'Thumb'), ('ThumbVert', 'ThumbVert'), ('ThumbBottom', 'ThumbBottom'),
                       ('ThumbTop', 'ThumbTop'), ('ThumbRight', 'ThumbRight'), ('ThumbLeft', 'ThumbLeft')):
        section(L, 'Trackbar.' + part, image(name + '.bmp', 5, sizing='TrueSize', transparent=True))
    section(L, 'Progress', [('ProgressChunkSize', 6), ('ProgressSpaceSize', 2)])
    section(L, 'Progress.Bar', image('ProgressBar.bmp', 1, margins='3, 3, 3, 3'))
    section(L, 'Progress.BarVert', image('ProgressBar.bmp', 1, margins='3, 3, 3, 3'))
    section(L, 'Progress.Chunk', image('ProgressChunk.bmp', 1))
    section(L, 'Progress.ChunkVert', image('ProgressChunkVert.bmp', 1))
    for part, name in (('Up', 'SpinUp'), ('Down', 'SpinDown'), ('UpHorz', 'SpinRight'), ('DownHorz', 'SpinLeft')):
        section(L, 'Spin.' + part, image(name + '.bmp', 4, margins='3, 3, 3, 3', transparent=True))

    # Tool bars, status bars, menus
    section(L, 'Toolbar', [('TextColor', rgb(NAVY))])
    for part in ('Button', 'DropDownButton', 'SplitButton', 'SplitButtonDropDown'):
        section(L, 'Toolbar.' + part, image('ToolButton.bmp', 6, margins='4, 4, 4, 4', transparent=True))
    section(L, 'Toolbar.Separator', image('Separator.bmp', 1, sizing='TrueSize', transparent=True))
    section(L, 'Toolbar.SeparatorVert', image('Separator.bmp', 1, sizing='TrueSize', transparent=True))
    section(L, 'Status', [('TextColor', rgb(NAVY))])
    section(L, 'Status.Pane', border_fill(SKY, None, extra=[('BorderOnly', 'True')]))
    section(L, 'Status.GripperPane', border_fill(SKY, None, extra=[('BorderOnly', 'True')]))
    section(L, 'Status.Gripper', image('StatusGripper.bmp', 1, sizing='TrueSize', transparent=True,
                                       extra=[('VAlign', 'Bottom')]))
    section(L, 'Menuband', [('FillColor', rgb(WHITE)), ('TextColor', rgb(NAVY))])
    section(L, 'Menuband.NewAppButton', border_fill(SKY, WHITE))
    return '\r\n'.join(L) + '\r\n'


THEMES_TEXT = '\r\n'.join([
    '; The styles of this library; the first File section names the default one.',
    '[Documentation]',
    'DisplayName = Yeb styles',
    '',
    '[File.NormalBlue]',
    'ColorSchemes = NormalBlue',
    'Sizes = NormalSize',
]) + '\r\n'


def resource_name(name):
    return name.replace('.', '_').replace('/', '_').replace('\\', '_').upper()


def write(rel, data, binary=True):
    path = os.path.join(OUT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    make_frame()
    make_buttons()
    make_scrollbars()
    make_fields()
    make_bars()
    text = style_text()
    write('NormalBlue.ini', text.encode('ascii'))
    utf16 = b'\xff\xfe'
    write('text/NormalBlue.ini.u16', utf16 + text.encode('utf-16-le'))
    write('text/THEMES.ini.u16', utf16 + THEMES_TEXT.encode('utf-16-le'))
    wanted = set()
    for rel, data in sorted(pictures.items()):
        write(rel, data)
        wanted.add(os.path.normpath(os.path.join(OUT, rel)))
    blue = os.path.join(OUT, 'Blue')
    for fn in os.listdir(blue):
        p = os.path.normpath(os.path.join(blue, fn))
        if p not in wanted:
            os.remove(p)

    rc = ['// The style library scrollbar.skin, made by tools/make-skin-style.py; do not edit by hand.',
          '// Texts are UTF-16; pictures are named after their file names with "." and "\\" as "_".',
          '',
          'THEMES_INI TEXTFILE "text/THEMES.ini.u16"',
          'NORMALBLUE_INI TEXTFILE "text/NormalBlue.ini.u16"']
    for rel in sorted(pictures):
        kind = 'PNG' if rel.endswith('.png') else 'BITMAP'
        rc.append('%-32s %-6s "%s"' % (resource_name(rel), kind, rel))
    with open(os.path.join(OUT, 'scrollbar.rc'), 'w', newline='\r\n') as f:
        f.write('\n'.join(rc) + '\n')
    print('NormalBlue: %d pictures, %d bytes of style text' % (len(pictures), len(text)))


if __name__ == '__main__':
    main()
