#!/usr/bin/python3
"""Draws the program's skin: the PNG images, the icon and nothing else, into resources/skin/.

Run from anywhere: /usr/bin/python3 tools/make_skin.py [output folder]
Needs python3-pil and fonts-wqy-microhei. Shapes are drawn at four times the size and
scaled down, which gives smooth edges; text is drawn at its final size so FreeType's
hinting keeps small glyphs sharp. The output is deterministic for a given Pillow.
"""

import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
SS = 4  # supersampling factor for shapes

# Palette shared by the pieces, so they sit together as one product.
PANEL_TOP = (36, 40, 50)
PANEL_BOTTOM = (19, 21, 27)
BORDER = (118, 126, 144)
TEXT_LIGHT = (226, 230, 236)
TEXT_DIM = (200, 204, 212)
DISABLED_FACE = ((132, 136, 144), (104, 108, 116))
DISABLED_TEXT = (176, 179, 186)
LINK = ((96, 172, 255), (150, 206, 255), (64, 132, 226), (112, 116, 124))
BLUE_FACES = (
    ((72, 160, 255), (30, 110, 232)),   # normal
    ((98, 180, 255), (46, 132, 246)),   # hover
    ((26, 96, 208), (38, 118, 230)),    # pressed: darker, lit from below
    DISABLED_FACE,                      # disabled
)
DARK_FACES = (
    ((70, 76, 90), (48, 52, 62)),
    ((88, 95, 112), (60, 65, 78)),
    ((40, 44, 53), (54, 58, 70)),
    DISABLED_FACE,
)
RED_TOP = (238, 74, 62)
RED_BOTTOM = (176, 28, 44)


def font(size):
    return ImageFont.truetype(FONT_PATH, size)


# ---------------------------------------------------------------- helpers


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vgradient(w, h, top, bottom):
    """An RGBA image of w x h filled with a vertical gradient (colours may carry alpha)."""
    top = top if len(top) == 4 else top + (255,)
    bottom = bottom if len(bottom) == 4 else bottom + (255,)
    column = Image.new("RGBA", (1, h))
    for y in range(h):
        column.putpixel((0, y), lerp(top, bottom, y / max(1, h - 1)))
    return column.resize((w, h), Image.NEAREST)


def hgradient(w, h, left, right):
    left = left if len(left) == 4 else left + (255,)
    right = right if len(right) == 4 else right + (255,)
    row = Image.new("RGBA", (w, 1))
    for x in range(w):
        row.putpixel((x, 0), lerp(left, right, x / max(1, w - 1)))
    return row.resize((w, h), Image.NEAREST)


def rounded_mask(w, h, box, radius):
    """A smooth L mask of w x h with a rounded rectangle (box in final pixels, floats)."""
    big = Image.new("L", (w * SS, h * SS), 0)
    x0, y0, x1, y1 = box
    ImageDraw.Draw(big).rounded_rectangle(
        (x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1), radius=radius * SS, fill=255)
    return clean(big.resize((w, h), Image.LANCZOS))


def clean(mask):
    """Drops the faint ringing Lanczos leaves outside a shape, so corners stay see-through."""
    return mask.point(lambda v: 0 if v < 6 else v)


def polygon_mask(w, h, points):
    big = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(big).polygon([(x * SS, y * SS) for x, y in points], fill=255)
    return clean(big.resize((w, h), Image.LANCZOS))


def ring(outer, inner):
    """The part of mask `outer` not covered by `inner`: a border line."""
    return ImageChops.subtract(outer, inner)


def paint(canvas, fill, mask):
    """Composites `fill` (an RGBA image or a colour) through the L `mask` onto canvas."""
    if not isinstance(fill, Image.Image):
        fill = Image.new("RGBA", canvas.size, fill if len(fill) == 4 else fill + (255,))
    layer = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
    fill_alpha = fill.getchannel("A")
    layer.paste(fill, (0, 0))
    layer.putalpha(ImageChops.multiply(fill_alpha, mask))
    canvas.alpha_composite(layer)


def scaled_alpha(mask, factor):
    return mask.point(lambda v: int(v * factor))


def text_size(text, fnt):
    box = fnt.getbbox(text)
    return box[2] - box[0], box[3] - box[1], box


def draw_text_centered(canvas, cell, text, fnt, colour, dy=0, shadow=None):
    """Centres the glyphs' ink box of `text` in the cell (x0, y0, x1, y1)."""
    w, h, box = text_size(text, fnt)
    x = cell[0] + (cell[2] - cell[0] - w) / 2 - box[0]
    y = cell[1] + (cell[3] - cell[1] - h) / 2 - box[1] + dy
    draw = ImageDraw.Draw(canvas)
    if shadow:
        draw.text((round(x), round(y) + 1), text, font=fnt, fill=shadow)
    draw.text((round(x), round(y)), text, font=fnt, fill=colour)


def stroke_lines(w, h, lines, width, colour):
    """Draws round-capped lines (final-pixel coordinates) smoothly; returns an RGBA layer."""
    big = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    r = width * SS / 2
    for (x0, y0), (x1, y1) in lines:
        p0 = (x0 * SS, y0 * SS)
        p1 = (x1 * SS, y1 * SS)
        d.line((p0, p1), fill=255, width=int(round(width * SS)))
        for px, py in (p0, p1):
            d.ellipse((px - r, py - r, px + r, py + r), fill=255)
    mask = big.resize((w, h), Image.LANCZOS)
    layer = Image.new("RGBA", (w, h), colour if len(colour) == 4 else colour + (255,))
    layer.putalpha(ImageChops.multiply(layer.getchannel("A"), mask))
    return layer


def strip(cells):
    """Puts equal cells side by side."""
    w, h = cells[0].size
    out = Image.new("RGBA", (w * len(cells), h), (0, 0, 0, 0))
    for i, cell in enumerate(cells):
        out.paste(cell, (i * w, 0))
    return out


# ---------------------------------------------------------------- the logo


def logo(size):
    """The Tolmaro mark: a red rounded square with a white T whose stem ends in an arrow."""
    s = size * SS
    big = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    body = Image.new("L", (s, s), 0)
    pad = s * 0.04
    ImageDraw.Draw(body).rounded_rectangle((pad, pad, s - pad, s - pad), radius=s * 0.22,
                                           fill=255)
    face = vgradient(s, s, RED_TOP, RED_BOTTOM)
    paint(big, face, body)
    # A soft light on the upper half.
    shine = Image.new("L", (s, s), 0)
    ImageDraw.Draw(shine).ellipse((-s * 0.3, -s * 0.75, s * 1.3, s * 0.5), fill=60)
    paint(big, (255, 255, 255), ImageChops.multiply(shine, body))
    # The T: a bar and a stem that turns into a down arrow.
    glyph = Image.new("L", (s, s), 0)
    g = ImageDraw.Draw(glyph)
    g.rounded_rectangle((s * 0.20, s * 0.22, s * 0.80, s * 0.37), radius=s * 0.05, fill=255)
    g.rectangle((s * 0.42, s * 0.30, s * 0.58, s * 0.60), fill=255)
    g.polygon([(s * 0.28, s * 0.56), (s * 0.72, s * 0.56), (s * 0.50, s * 0.82)], fill=255)
    paint(big, (255, 255, 255), glyph)
    return big.resize((size, size), Image.LANCZOS)


# ---------------------------------------------------------------- window pieces


def background():
    """1101: the dark panel with a one-pixel light border."""
    w, h = 600, 350
    img = vgradient(w, h, PANEL_TOP, PANEL_BOTTOM)
    d = ImageDraw.Draw(img)
    # A faint lighter band where the details sit under the banner.
    band = vgradient(w, 140, (255, 255, 255, 10), (255, 255, 255, 0))
    img.alpha_composite(band, (0, 211))
    d.rectangle((1, 1, w - 2, h - 2), outline=(10, 11, 14, 255))  # inner dark edge
    d.rectangle((0, 0, w - 1, h - 1), outline=BORDER + (255,))
    return img


def glow():
    """1102: translucent light glow over the upper part, brightest at the top centre."""
    w, h = 598, 200
    img = Image.new("RGBA", (w, h), (255, 255, 255, 0))
    alpha = Image.new("L", (w, h), 0)
    for y in range(h):
        for x in range(0, w):
            dx = (x - w / 2) / (w * 0.55)
            dy = y / (h * 0.9)
            v = max(0.0, 1.0 - math.sqrt(dx * dx + dy * dy))
            alpha.putpixel((x, y), int(46 * v * v))
    img.putalpha(alpha)
    return img


def red_wash():
    """1103: translucent red wash, taller than the window; warmest behind the progress area."""
    w, h = 598, 430
    img = Image.new("RGBA", (w, h), (212, 36, 48, 0))
    alpha = Image.new("L", (w, h), 0)
    small = Image.new("L", (w // 2, h // 2), 0)
    for y in range(h // 2):
        for x in range(w // 2):
            px, py = x * 2, y * 2
            # One wide ellipse under the bar and a smaller one at the lower left.
            a = max(0.0, 1.0 - math.hypot((px - 300) / 430, (py - 330) / 190))
            b = max(0.0, 1.0 - math.hypot((px - 40) / 260, (py - 380) / 170))
            small.putpixel((x, y), min(255, int(70 * a * a + 55 * b * b)))
    alpha = small.resize((w, h), Image.BILINEAR).filter(ImageFilter.GaussianBlur(2))
    img.putalpha(alpha)
    return img


def title_strip():
    """1106: the title strip with the logo and the name; row 0 and column 0 stay clear so
    the window's border shows through."""
    w, h = 598, 37
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    body = vgradient(w, h, (0, 0, 0, 110), (0, 0, 0, 60))
    img.alpha_composite(body)
    d = ImageDraw.Draw(img)
    d.line((0, h - 1, w, h - 1), fill=(255, 255, 255, 22))
    # A red accent under the name, fading out to the right.
    accent = hgradient(190, 1, RED_TOP + (230,), RED_TOP + (0,))
    img.alpha_composite(accent, (1, h - 1))
    img.alpha_composite(logo(22), (10, 8))
    fnt = font(17)
    # The name, a little heavier than the font's regular weight.
    d.text((38, 7), "Tolmaro", font=fnt, fill=(0, 0, 0, 120))
    d.text((38, 6), "Tolmaro", font=fnt, fill=(248, 248, 250, 255), stroke_width=0)
    d.text((38.5, 6), "Tolmaro", font=fnt, fill=(248, 248, 250, 200))
    for x in range(w):
        img.putpixel((x, 0), (0, 0, 0, 0))
    for y in range(h):
        img.putpixel((0, y), (0, 0, 0, 0))
    return img


def caption_button(glyph, red_hover):
    """1107/1108: 34 x 34 window buttons. `glyph` gives lines in cell coordinates."""
    cells = []
    looks = [
        (None, TEXT_DIM + (255,)),
        ((232, 64, 64, 235) if red_hover else (255, 255, 255, 34), (255, 255, 255, 255)),
        ((184, 40, 44, 245) if red_hover else (255, 255, 255, 18), (236, 236, 240, 255)),
        (None, (104, 108, 118, 255)),
    ]
    for i, (bg, colour) in enumerate(looks):
        cell = Image.new("RGBA", (34, 34), (0, 0, 0, 0))
        if bg:
            paint(cell, bg, rounded_mask(34, 34, (3, 3, 31, 31), 4))
        dy = 0.5 if i == 2 else 0.0
        lines = [((x0, y0 + dy), (x1, y1 + dy)) for (x0, y0), (x1, y1) in glyph]
        cell.alpha_composite(stroke_lines(34, 34, lines, 1.8, colour))
        cells.append(cell)
    return strip(cells)


def face_button(w, h, box, radius, faces, text=None, text_size_px=13, icon=None):
    """Four looks of a filled button: normal, hover, pressed, disabled."""
    cells = []
    for i, (top, bottom) in enumerate(faces):
        cell = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        x0, y0, x1, y1 = box
        pressed = i == 2
        disabled = i == 3
        if not pressed:  # a soft drop shadow under the face
            shadow = rounded_mask(w, h, (x0, y0 + 1.5, x1, y1 + 1.5), radius)
            paint(cell, (0, 0, 0, 90), shadow.filter(ImageFilter.GaussianBlur(1)))
        outer = rounded_mask(w, h, box, radius)
        inner = rounded_mask(w, h, (x0 + 1, y0 + 1, x1 - 1, y1 - 1), radius - 1)
        edge = lerp(bottom, (0, 0, 0), 0.35)
        paint(cell, edge + (255,), outer)
        paint(cell, vgradient(w, h, top, bottom), inner)
        # A one-pixel highlight under the top edge (a shadow when pressed).
        top_line = ring(inner, rounded_mask(w, h, (x0 + 1, y0 + 2, x1 - 1, y1 - 1), radius - 1))
        if pressed:
            paint(cell, (0, 0, 0, 70), top_line)
        elif not disabled:
            paint(cell, (255, 255, 255, 90), top_line)
        # A gloss that fades out towards the middle.
        mid = int((y0 + y1) / 2)
        sheen = vgradient(w, h, (255, 255, 255, 0), (255, 255, 255, 0))
        sheen.paste(vgradient(w, mid, (255, 255, 255, 12 if pressed else 34),
                              (255, 255, 255, 0)), (0, 0))
        paint(cell, sheen, inner)
        dy = 1 if pressed else 0
        if text:
            colour = DISABLED_TEXT + (255,) if disabled else (255, 255, 255, 255)
            shadow_colour = None if disabled else (0, 0, 0, 70)
            draw_text_centered(cell, (x0, y0, x1, y1), text, font(text_size_px), colour, dy,
                               shadow_colour)
        cells.append(cell)
    return strip(cells)


def link_button():
    """1112: the word 修改 drawn as a link, 25 x 12 per look."""
    cells = []
    fnt = font(11)
    for i, colour in enumerate(LINK):
        cell = Image.new("RGBA", (25, 12), (0, 0, 0, 0))
        d = ImageDraw.Draw(cell)
        d.text((1, -1 + (1 if i == 2 else 0)), "修改", font=fnt, fill=colour + (255,))
        if i in (1, 2):
            d.line((1, 11, 23, 11), fill=colour + (220,))
        cells.append(cell)
    return strip(cells)


def progress_track():
    """1111: the bar's groove, 540 x 18."""
    w, h = 540, 18
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    outer = rounded_mask(w, h, (0, 0, w, h), 9)
    inner = rounded_mask(w, h, (1, 1, w - 1, h - 1), 8)
    paint(img, (255, 255, 255, 38), ring(outer, inner))
    paint(img, vgradient(w, h, (6, 7, 10, 235), (22, 24, 30, 225)), inner)
    shade = ring(inner, rounded_mask(w, h, (1, 3, w - 1, h - 1), 8))
    paint(img, (0, 0, 0, 120), shade)
    return img


def progress_fill():
    """1113: the filled bar, 536 x 14, red to amber with a gloss and fine stripes; it is
    revealed from the left at 1:1, so its colour warms as the download advances."""
    w, h = 536, 14
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    mask = rounded_mask(w, h, (0, 0, w, h), 7)
    colours = hgradient(w, h, (214, 38, 52), (255, 160, 48))
    shade = vgradient(w, h, (255, 255, 255, 0), (0, 0, 0, 60))
    colours.alpha_composite(shade)
    stripes = Image.new("L", (w * SS, h * SS), 0)
    sd = ImageDraw.Draw(stripes)
    for x in range(-h * SS, w * SS, 12 * SS):
        sd.polygon([(x, h * SS), (x + 6 * SS, h * SS), (x + 6 * SS + h * SS, 0), (x + h * SS, 0)],
                   fill=26)
    stripes = stripes.resize((w, h), Image.LANCZOS)
    paint(colours, (255, 255, 255), stripes)
    paint(img, colours, mask)
    gloss = rounded_mask(w, h, (1, 1, w - 1, 6), 3)
    paint(img, (255, 255, 255, 70), ImageChops.multiply(gloss, mask))
    return img


def runner_frame(phase, frame_w=25, frame_h=41):
    """One pose of the running figure, facing right; phase 0..1 is one stride of both legs.
    Angles are in degrees from straight down, positive towards the running direction."""
    t = phase * 2 * math.pi
    thigh_len, shin_len, upper_len, fore_len, torso = 8.4, 8.4, 5.8, 5.2, 10.5
    ground = 39.0

    def point(origin, angle, length):
        a = math.radians(angle)
        return (origin[0] + length * math.sin(a), origin[1] + length * math.cos(a))

    def leg_angles(p):
        thigh = 8 + 36 * math.sin(p)
        # The knee folds most early in the swing, while the thigh comes forward behind the
        # body, and straightens towards the foot strike.
        fold = 14 + 96 * max(0.0, math.cos(p + math.pi / 4)) ** 2
        return thigh, thigh - fold

    legs = [leg_angles(t + math.pi), leg_angles(t)]  # far leg, near leg
    # The hip sits so that the lower foot touches the ground, plus a little lift in flight.
    drop = max(thigh_len * math.cos(math.radians(a)) + shin_len * math.cos(math.radians(b))
               for a, b in legs)
    lift = 0.8 * abs(math.sin(t))
    hip = (11.5, ground - drop - lift)
    shoulder = point(hip, 180 - 14, torso)  # leaning forward
    head = point(shoulder, 180 - 20, 5.4)

    far, near = [], []
    for (thigh, shin), arm_phase, lines in ((legs[0], t, far), (legs[1], t + math.pi, near)):
        knee = point(hip, thigh, thigh_len)
        foot = point(knee, shin, shin_len)
        toe = point(foot, shin + 90, 2.4)
        upper = 4 - 40 * math.sin(arm_phase + math.pi)
        elbow = point(shoulder, upper, upper_len)
        hand = point(elbow, upper + 95, fore_len)
        lines += [(hip, knee), (knee, foot), (foot, toe), (shoulder, elbow), (elbow, hand)]

    w, h = frame_w, frame_h
    out = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    hx, hy, r = head[0] * SS, head[1] * SS, 3.4 * SS

    def head_layer(extra, colour, alpha):
        m = Image.new("L", (w * SS, h * SS), 0)
        ImageDraw.Draw(m).ellipse((hx - r - extra, hy - r - extra, hx + r + extra,
                                   hy + r + extra), fill=alpha)
        layer = Image.new("RGBA", (w, h), colour + (255,))
        layer.putalpha(m.resize((w, h), Image.LANCZOS))
        return layer

    # A dark outline keeps the figure readable on the bar fill and on the panel; the far
    # limbs are a shade darker than the near ones.
    body = [(hip, shoulder)]
    out.alpha_composite(stroke_lines(w, h, far + near + body, 4.6, (24, 12, 14, 150)))
    out.alpha_composite(head_layer(SS * 1.1, (24, 12, 14), 150))
    out.alpha_composite(stroke_lines(w, h, far, 2.4, (188, 194, 206)))
    out.alpha_composite(stroke_lines(w, h, body, 3.4, (255, 255, 255)))
    out.alpha_composite(head_layer(0, (255, 255, 255), 255))
    out.alpha_composite(stroke_lines(w, h, near, 2.4, (255, 255, 255)))
    return out


def runner_strip():
    """1114: 18 frames of 25 x 41. The timer shows frames 1 to 17 in a loop, so those make
    one stride; frame 0, seen only before the first tick, is the pose between 17 and 1."""
    frames = []
    for k in range(18):
        phase = (k - 1) / 17.0 if k > 0 else 16.5 / 17.0
        frames.append(runner_frame(phase))
    return strip(frames)


def separator():
    """1115: the dotted line above the tips, with a small lamp before the tips heading."""
    w, h = 416, 18
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    for x in range(0, w, 3):
        edge = min(x, w - 1 - x) / 60.0
        a = int(110 * min(1.0, edge))
        img.putpixel((x, 0), (255, 255, 255, a))
    # The lamp: a warm bulb with a base, matching the tips heading colour.
    s = SS
    lamp = Image.new("L", (w * s, h * s), 0)
    ld = ImageDraw.Draw(lamp)
    cx, cy = 29.0, 8.0
    ld.ellipse(((cx - 4) * s, (cy - 4.2) * s, (cx + 4) * s, (cy + 3.8) * s), fill=255)
    ld.polygon([((cx - 2.6) * s, (cy + 2) * s), ((cx + 2.6) * s, (cy + 2) * s),
                ((cx + 1.8) * s, (cy + 5.6) * s), ((cx - 1.8) * s, (cy + 5.6) * s)], fill=255)
    ld.rectangle(((cx - 1.8) * s, (cy + 6.3) * s, (cx + 1.8) * s, (cy + 7.6) * s), fill=255)
    paint(img, (255, 178, 62), lamp.resize((w, h), Image.LANCZOS))
    shine = Image.new("L", (w * s, h * s), 0)
    ImageDraw.Draw(shine).ellipse(((cx - 2.6) * s, (cy - 3) * s, (cx - 0.4) * s, (cy - 0.8) * s),
                                  fill=200)
    paint(img, (255, 244, 214), shine.resize((w, h), Image.LANCZOS))
    return img


def error_box():
    """1117: the notice box, 440 x 184, with a header reading 提示："""
    w, h = 440, 184
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    outer = rounded_mask(w, h, (0, 0, w, h), 6)
    inner = rounded_mask(w, h, (1, 1, w - 1, h - 1), 5)
    paint(img, BORDER + (255,), ring(outer, inner))
    paint(img, vgradient(w, h, (40, 44, 55), (24, 26, 33)), inner)
    header_h = 32
    header = ImageChops.multiply(inner, rounded_mask(w, h, (0, 0, w, header_h), 0))
    paint(img, (255, 255, 255, 16), header)
    d = ImageDraw.Draw(img)
    d.line((1, header_h, w - 2, header_h), fill=(0, 0, 0, 140))
    d.line((1, header_h + 1, w - 2, header_h + 1), fill=(255, 255, 255, 20))
    # A red accent on the header's left end and a warning mark before the word.
    accent = hgradient(160, 2, RED_TOP + (220,), RED_TOP + (0,))
    img.alpha_composite(accent, (1, header_h - 1))
    mark = Image.new("L", (w * SS, h * SS), 0)
    md = ImageDraw.Draw(mark)
    md.ellipse((12 * SS, 8 * SS, 28 * SS, 24 * SS), fill=255)
    paint(img, vgradient(w, h, (255, 178, 62), (236, 120, 40)), mark.resize((w, h), Image.LANCZOS))
    bang = stroke_lines(w, h, [((20, 11.6), (20, 17.2))], 2.0, (40, 26, 16))
    img.alpha_composite(bang)
    dot = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(dot).ellipse((18.9 * SS, 19.3 * SS, 21.1 * SS, 21.5 * SS), fill=255)
    paint(img, (40, 26, 16), dot.resize((w, h), Image.LANCZOS))
    fnt = font(14)
    d.text((35, 7), "提示：", font=fnt, fill=TEXT_LIGHT + (255,))
    return img


def bubble():
    """1116: the welcome tag, 209 x 46, dark and rounded, its notch at the top left pointing
    back at the desktop icon."""
    w, h = 209, 46
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    notch = [(0.0, 14), (10.5, 5), (10.5, 23)]
    outer = ImageChops.lighter(rounded_mask(w, h, (9, 0, w, h), 6), polygon_mask(w, h, notch))
    inner_notch = [(1.9, 14), (11.5, 5.9), (11.5, 22.1)]
    inner = ImageChops.lighter(rounded_mask(w, h, (10, 1, w - 1, h - 1), 5),
                               polygon_mask(w, h, inner_notch))
    paint(img, (150, 156, 170, 235), ring(outer, inner))
    paint(img, vgradient(w, h, (46, 50, 62, 242), (26, 28, 36, 242)), inner)
    d = ImageDraw.Draw(img)
    d.line((14, 1, w - 6, 1), fill=(255, 255, 255, 30))
    return img


def icon_images():
    return [logo(s) for s in (256, 64, 48, 32, 24, 16)]


# ---------------------------------------------------------------- output

CROSS = [((12, 12), (22, 22)), ((22, 12), (12, 22))]
DASH = [((12, 18), (22, 18))]


def build():
    return {
        1101: background(),
        1102: glow(),
        1103: red_wash(),
        1106: title_strip(),
        1107: caption_button(CROSS, True),
        1108: caption_button(DASH, False),
        1110: face_button(148, 50, (2, 2, 146, 47), 6, BLUE_FACES),
        1111: progress_track(),
        1112: link_button(),
        1113: progress_fill(),
        1114: runner_strip(),
        1115: separator(),
        1116: bubble(),
        1117: error_box(),
        1118: face_button(89, 32, (2, 2, 87, 29), 4, BLUE_FACES, "确定", 13),
        1119: face_button(89, 32, (2, 2, 87, 29), 4, DARK_FACES, "重新下载", 13),
    }


# Sizes every image must have; a mismatch is a bug in this script, not a new layout.
EXPECTED = {
    1101: (600, 350), 1102: (598, 200), 1103: (598, 430), 1106: (598, 37), 1107: (136, 34),
    1108: (136, 34), 1110: (592, 50), 1111: (540, 18), 1112: (100, 12), 1113: (536, 14),
    1114: (450, 41), 1115: (416, 18), 1116: (209, 46), 1117: (440, 184), 1118: (356, 32),
    1119: (356, 32),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "skin")
    os.makedirs(out, exist_ok=True)
    for rid, img in build().items():
        if img.size != EXPECTED[rid]:
            raise SystemExit(f"image {rid} is {img.size}, expected {EXPECTED[rid]}")
        img.save(os.path.join(out, f"{rid}.png"), optimize=True)
    icons = icon_images()
    icons[0].save(os.path.join(out, "1100.ico"), format="ICO", bitmap_format="bmp",
                  sizes=[im.size for im in icons], append_images=icons[1:])
    print(f"skin written to {os.path.normpath(out)}")


if __name__ == "__main__":
    main()
