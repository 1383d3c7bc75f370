"""The pictures beside the program: product pictures, wallpapers, logos and the robot top
views of the sensor monitor, all drawn here as SVG and rasterised by make_artwork.py.

The products are our own imaginary boards and robots; the only texts are the names the
picture files carry.
"""

import math
import random

from svgkit import (circle, document, ellipse, group, line, linear_gradient, path, polygon,
                    radial_gradient, rect, text)


# --- product pictures (200 x 150) ---------------------------------------------------------

def backdrop(w, h, top, bottom, gid="bg"):
    defs = linear_gradient(gid, 0, 0, 0, h, [(0, top), (1, bottom)])
    return defs, rect(0, 0, w, h, fill="url(#%s)" % gid)


def header(x, y, pins, pitch=6, vertical=False):
    """A pin header: black housing with gold pins."""
    if vertical:
        body = rect(x, y, 7, pins * pitch + 1, rx=1, fill="#1E1E1E")
        for i in range(pins):
            body += rect(x + 2, y + 2 + i * pitch, 3, 3, fill="#E8C454")
    else:
        body = rect(x, y, pins * pitch + 1, 7, rx=1, fill="#1E1E1E")
        for i in range(pins):
            body += rect(x + 2 + i * pitch, y + 2, 3, 3, fill="#E8C454")
    return body


def chip(x, y, w, h, legs):
    body = ""
    step = (w - 6) / (legs - 1)
    for i in range(legs):
        lx = x + 3 + i * step
        body += rect(lx - 1, y - 3, 2, 4, fill="#C9CDD2") + rect(lx - 1, y + h - 1, 2, 4, fill="#C9CDD2")
    body += rect(x, y, w, h, rx=1.5, fill="#25272B")
    body += circle(x + 4, y + h / 2, 1.6, fill="#3C3F45")
    return body


def socket(x, y, vertical=False):
    """A white three-pin connector housing seen from above."""
    if vertical:
        body = rect(x, y, 8, 17, rx=1.5, fill="#F2F2EE", stroke="#A9AAA2", stroke_width=0.8)
        for k in range(3):
            body += rect(x + 2.5, y + 2.5 + k * 4.5, 3, 3, fill="#C8A84A")
    else:
        body = rect(x, y, 17, 8, rx=1.5, fill="#F2F2EE", stroke="#A9AAA2", stroke_width=0.8)
        for k in range(3):
            body += rect(x + 2.5 + k * 4.5, y + 2.5, 3, 3, fill="#C8A84A")
    return body


def capacitor(cx, cy, r):
    return (circle(cx, cy, r, fill="#2F5FA8", stroke="#1C3C6E", stroke_width=0.8)
            + path("M%.1f,%.1f A%.1f,%.1f 0 0 1 %.1f,%.1f" % (cx - r * 0.7, cy - r * 0.7, r, r,
                                                              cx + r * 0.7, cy - r * 0.7),
                   fill="none", stroke="#D8E2F0", stroke_width=1.4)
            + circle(cx, cy, r * 0.35, fill="#9DB0C8"))


def board(x, y, w, h, pcb, pcb_dark, label, gid):
    """A controller board seen from above: processor, ten connectors, power and serial
    connectors, LEDs, reset button."""
    defs = linear_gradient(gid, x, y, x + w, y + h, [(0, pcb), (1, pcb_dark)])
    body = rect(x + 2, y + 3, w, h, rx=5, fill="#000000", opacity=0.18)
    body += rect(x, y, w, h, rx=5, fill="url(#%s)" % gid, stroke=pcb_dark, stroke_width=1)
    for hx, hy in ((x + 6, y + 6), (x + w - 6, y + 6), (x + 6, y + h - 6), (x + w - 6, y + h - 6)):
        body += circle(hx, hy, 3, fill="#D9C27A") + circle(hx, hy, 1.5, fill="#555555")
    cx0, cy0, cw, ch = x + w * 0.32, y + h * 0.38, w * 0.40, h * 0.20
    # traces from the processor to the connectors
    for i in range(5):
        sx = x + 16 + i * (w - 32) / 4
        px = cx0 + 4 + i * (cw - 8) / 4
        body += path("M%.1f,%.1f V%.1f L%.1f,%.1f V%.1f" % (px, cy0, cy0 - 6, sx + 8, y + 20, y + 14),
                     fill="none", stroke="#9CCFA8", stroke_width=0.9, opacity=0.55)
        body += path("M%.1f,%.1f V%.1f L%.1f,%.1f V%.1f" % (px, cy0 + ch, cy0 + ch + 6, sx + 8,
                                                        y + h - 20, y + h - 14),
                     fill="none", stroke="#9CCFA8", stroke_width=0.9, opacity=0.55)
    for i in range(5):
        sx = x + 16 + i * (w - 32) / 4
        body += socket(sx, y + 6) + socket(sx, y + h - 14)
    body += chip(cx0, cy0, cw, ch, 14)
    body += rect(x - 4, y + h * 0.40, 14, 14, rx=2, fill="#2B2B2B")            # power jack
    body += rect(x + w - 10, y + h * 0.40, 14, 12, rx=1.5, fill="#B8BCC2",     # serial port
                 stroke="#7D848C", stroke_width=0.8)
    body += capacitor(x + w * 0.18, y + h * 0.66, 5) + capacitor(x + w * 0.82, y + h * 0.70, 4)
    body += rect(x + w * 0.78, y + h * 0.30, 9, 5, rx=1, fill="#B8BCC2")         # crystal
    body += circle(x + w * 0.16, y + h * 0.34, 2.4, fill="#37E05B")
    body += circle(x + w * 0.16 + 8, y + h * 0.34, 2.4, fill="#F0302A")
    body += rect(x + w * 0.64, y + h * 0.62, 9, 9, rx=1.5, fill="#2B2B2B")
    body += circle(x + w * 0.64 + 4.5, y + h * 0.62 + 4.5, 2.6, fill="#C83A3A")  # reset button
    body += text(x + w * 0.42, y + h * 0.72, label, 10, "#F4F4F4", opacity=0.92)
    return defs, body


def wheel(cx, cy, r):
    return (circle(cx, cy, r, fill="#2A2D31") + circle(cx, cy, r * 0.78, fill="#3A3F45")
            + circle(cx, cy, r * 0.42, fill="#C5CBD2", stroke="#8A939C", stroke_width=1)
            + circle(cx, cy, r * 0.12, fill="#6B747D"))


def board_edge(cx, top, w, pcb, pcb_dark):
    """The controller on the robot's top, seen from the front: the board's edge with the
    parts standing on it."""
    body = rect(cx - w / 2, top, w, 6, rx=1.5, fill=pcb, stroke=pcb_dark, stroke_width=1)
    body += rect(cx - 12, top - 6, 28, 6, rx=1, fill="#25272B")
    for i in range(6):
        body += rect(cx - 10 + i * 4.8, top - 1, 1.6, 2, fill="#C9CDD2")
    for hx in (cx - w / 2 + 4, cx + w / 2 - 22):
        body += rect(hx, top - 8, 18, 8, rx=1, fill="#F2F2EE", stroke="#A9AAA2", stroke_width=0.8)
        for k in range(3):
            body += rect(hx + 2.5 + k * 5, top - 12, 2, 5, fill="#C8A84A")
    body += rect(cx + 20, top - 9, 7, 9, rx=3, fill="#2F5FA8")
    body += path("M%.1f,%.1f a3,3 0 0 1 6,0 v3 h-6 z" % (cx - 27, top - 4), fill="#37E05B")
    body += path("M%.1f,%.1f a3,3 0 0 1 6,0 v3 h-6 z" % (cx - 20, top - 4), fill="#F0302A")
    return body


def robot_front(cx, ground, body_col, body_dark, pcb, pcb_dark, label, antenna=False, gid="rb",
                round_body=False):
    """A small two-wheeled robot seen from the front with its controller on top."""
    defs = linear_gradient(gid + "b", 0, ground - 70, 0, ground - 10, [(0, body_col), (1, body_dark)])
    body = ellipse(cx, ground, 72, 6, fill="#000000", opacity=0.15)
    body += wheel(cx - 60, ground - 24, 24) + wheel(cx + 60, ground - 24, 24)
    top = ground - 76
    if antenna:
        body += line(cx + 34, top, cx + 44, top - 44, stroke="#3A3F45", stroke_width=2.5,
                     stroke_linecap="round")
        body += circle(cx + 44, top - 44, 4, fill="#E2553F")
    body += board_edge(cx, top - 6, 104, pcb, pcb_dark)
    body += rect(cx - 46, top, 92, 64, rx=22 if round_body else 10, fill="url(#%sb)" % gid,
                 stroke=body_dark, stroke_width=1.5)
    body += rect(cx - 36, top + 10, 72, 26, rx=13, fill="#2E3338")
    # the ultrasonic pair makes the face
    for ex in (cx - 18, cx + 18):
        body += circle(ex, top + 23, 10, fill="#DADFE4", stroke="#8A939C", stroke_width=1.5)
        body += circle(ex, top + 23, 5.5, fill="#4A5058")
        body += circle(ex - 2, top + 21, 1.8, fill="#FFFFFF")
    body += rect(cx - 30, top + 42, 60, 13, rx=3, fill=body_dark)
    body += text(cx, top + 52, label, 9, "#FFFFFF")
    return defs, body


def product_glent():
    w, h = 200, 150
    defs, body = backdrop(w, h, "#F4F8F2", "#DDE9D8")
    bd, bb = board(20, 20, 160, 108, "#2E8B57", "#1E6B40", "Glent", "pcb")
    return document(w, h, w, h, body + bb, defs + bd)


def product_qv7b(label, pcb, pcb_dark, antenna):
    w, h = 200, 150
    defs, body = backdrop(w, h, "#F2F6FB", "#D8E3EF")
    rd, rb = robot_front(100, 138, "#3C7DD9", "#23528F", pcb, pcb_dark, label, antenna)
    return document(w, h, w, h, body + rb, defs + rd)


def product_wl_core():
    w, h = 200, 150
    defs, body = backdrop(w, h, "#FBF6EE", "#EEDFCB")
    rd, rb = robot_front(100, 138, "#F08A24", "#B5600F", "#1F6F8B", "#12465A", "WL-Core",
                         round_body=True)
    return document(w, h, w, h, body + rb, defs + rd)


# --- wallpapers (1280 x 800) -----------------------------------------------------------------
# Calm and low in contrast: the program windows sit on top of them.

def wallpaper(top, bottom, pattern):
    w, h = 1280, 800
    defs = linear_gradient("bg", 0, 0, w, h, [(0, top), (1, bottom)])
    return document(w, h, w, h, rect(0, 0, w, h, fill="url(#bg)") + pattern, defs)


def traces(color, seed):
    """Faint circuit traces with round pads."""
    rnd = random.Random(seed)
    body = ""
    for _ in range(22):
        x, y = rnd.randrange(0, 1280, 40), rnd.randrange(0, 800, 40)
        pts = [(x, y)]
        for _ in range(rnd.randint(2, 4)):
            dx, dy = rnd.choice([(1, 0), (0, 1), (1, 1), (1, -1), (-1, 1)])
            n = rnd.randint(2, 6) * 40
            x, y = x + dx * n, y + dy * n
            pts.append((x, y))
        body += path("M" + " L".join("%d,%d" % p for p in pts), fill="none", stroke=color,
                     stroke_width=3, stroke_linejoin="round")
        for px, py in (pts[0], pts[-1]):
            body += circle(px, py, 7, fill="none", stroke=color, stroke_width=3)
    return body


def hexes(color):
    body = ""
    r = 46
    dx, dy = r * 1.5, r * math.sqrt(3)
    for i in range(-1, int(1280 / dx) + 2):
        for j in range(-1, int(800 / dy) + 2):
            cx = i * dx
            cy = j * dy + (dy / 2 if i % 2 else 0)
            p = ["%.1f,%.1f" % (cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
                 for a in range(0, 360, 60)]
            body += '<polygon points="%s" fill="none" stroke="%s" stroke-width="2"/>\n' % (" ".join(p), color)
    return body


def waves(color):
    body = ""
    for k in range(9):
        y0 = 50 + k * 90
        d = "M-20,%d" % y0
        for i in range(0, 1320, 160):
            d += " q40,-%d 80,0 t80,0" % (14 + (k % 3) * 4)
        body += path(d, fill="none", stroke=color, stroke_width=3)
    return body


def dots(color):
    body = ""
    for y in range(20, 800, 40):
        for x in range(20 + (y // 40 % 2) * 20, 1280, 40):
            body += circle(x, y, 3, fill=color)
    return body


# --- logos (200 x 60) ----------------------------------------------------------------------

def logo_morvane():
    w, h = 200, 60
    mark = rect(8, 10, 40, 40, rx=10, fill="#1F7A8C")
    # a friendly robot face as the maker's mark
    mark += circle(21, 27, 4, fill="#FFFFFF") + circle(35, 27, 4, fill="#FFFFFF")
    mark += path("M19,37 Q28,44 37,37", fill="none", stroke="#FFFFFF", stroke_width=3,
                 stroke_linecap="round")
    mark += line(28, 10, 28, 5, stroke="#1F7A8C", stroke_width=3) + circle(28, 4, 3, fill="#F08A24")
    words = text(122, 38, "MORVANE", 22, "#24323F", letter_spacing=1)
    return document(w, h, w, h, rect(0, 0, w, h, fill="#FFFFFF") + mark + words)


def logo_rx():
    w, h = 200, 60
    body = rect(0, 0, w, h, fill="#FFFFFF")
    for i, x in enumerate((18, 30, 42)):
        body += polygon([(x, 14), (x + 10, 30), (x, 46), (x + 6, 46), (x + 16, 30), (x + 6, 14)],
                        fill="#D9302A", opacity=0.35 + i * 0.3)
    body += text(106, 44, "RX", 38, "#D9302A", font_style="italic")
    return document(w, h, w, h, body)


def logo_wlv():
    w, h = 200, 60
    body = rect(0, 0, w, h, fill="#FFFFFF")
    body += text(100, 38, "WLV", 32, "#1D3C6E", letter_spacing=3)
    body += path("M40,47 Q100,58 160,44", fill="none", stroke="#F08A24", stroke_width=4,
                 stroke_linecap="round")
    return document(w, h, w, h, body)


# --- robot top views for the sensor monitor (240 x 356, white is see-through) -----------------

def top_view(body_col, body_dark, pcb, pcb_dark, label):
    w, h = 240, 356
    body = rect(0, 0, w, h, fill="#FFFFFF")
    # wheels
    for x in (14, 198):
        body += rect(x, 190, 28, 92, rx=8, fill="#2A2D31")
        for k in range(8):
            body += rect(x + 3, 196 + k * 11, 22, 4, rx=1, fill="#3E444B")
    body += rect(44, 40, 152, 290, rx=34, fill=body_col, stroke=body_dark, stroke_width=3)
    # front bumper and ultrasonic pair
    body += rect(70, 22, 100, 26, rx=8, fill="#3A3F45")
    for ex in (98, 142):
        body += circle(ex, 35, 10, fill="#DADFE4", stroke="#8A939C", stroke_width=2)
        body += circle(ex, 35, 5, fill="#4A5058")
    # the controller board with its ten connectors, five down each side
    body += rect(62, 86, 116, 200, rx=8, fill=pcb, stroke=pcb_dark, stroke_width=2)
    body += chip_top(100, 150, 40, 70)
    for i in range(5):
        y = 104 + i * 34
        body += connector(68, y, str(i + 1)) + connector(154, y, str(i + 6))
    body += circle(86, 266, 5, fill="#37E05B") + circle(104, 266, 5, fill="#F0302A")
    body += text(140, 271, label, 12, "#F4F4F4")
    # caster at the back
    body += circle(120, 312, 9, fill="#3A3F45")
    return document(w, h, w, h, body)


def chip_top(x, y, w, h):
    body = ""
    for i in range(8):
        ly = y + 6 + i * (h - 12) / 7
        body += rect(x - 4, ly - 1.5, 5, 3, fill="#C9CDD2") + rect(x + w - 1, ly - 1.5, 5, 3, fill="#C9CDD2")
    return body + rect(x, y, w, h, rx=2, fill="#25272B")


def connector(x, y, number):
    body = rect(x, y, 18, 22, rx=2, fill="#F0F0F0", stroke="#9AA0A6", stroke_width=1)
    for k in range(3):
        body += rect(x + 3 + k * 4.5, y + 3, 3, 3, fill="#C8A84A")
    return body + text(x + 9, y + 19, number, 10, "#24323F")


def all_pictures():
    """File name -> (SVG text, width, height)."""
    green, blue, warm, grey = ("#EEF5EC", "#DCEBD8"), ("#EDF3FA", "#D9E5F2"), \
        ("#FAF5EC", "#EFE4D2"), ("#EEF0F3", "#DCE0E6")
    return {
        "Glent.jpg": (product_glent(), 200, 150),
        "QV7B-FW.jpg": (product_qv7b("QV7B", "#2E8B57", "#1E6B40", False), 200, 150),
        "QV7B-RX.jpg": (product_qv7b("QV7B-RX", "#2E8B57", "#1E6B40", True), 200, 150),
        "WL-Core.jpg": (product_wl_core(), 200, 150),
        "Glnt_Wallpaper.jpg": (wallpaper(*green, traces("#CFE2CA", 7)), 1280, 800),
        "QV7B_Wallpaper.jpg": (wallpaper(*blue, hexes("#D3DFEE")), 1280, 800),
        "WLC_Wallpaper.jpg": (wallpaper(*warm, waves("#EBDFCB")), 1280, 800),
        "WLV_Wallpaper.jpg": (wallpaper(*grey, dots("#D6DAE1")), 1280, 800),
        "MORVANE_Logo.jpg": (logo_morvane(), 200, 60),
        "RX_Logo.jpg": (logo_rx(), 200, 60),
        "WLV_Logo.jpg": (logo_wlv(), 200, 60),
        "TopView_Glent.bmp": (top_view("#D7E3D3", "#7C9A74", "#2E8B57", "#1E6B40", "Glent"), 240, 356),
        "QV7B_TopView.bmp": (top_view("#CFE0F5", "#4F7DB5", "#2E8B57", "#1E6B40", "QV7B"), 240, 356),
        "WL_TopView.bmp": (top_view("#F7D3AE", "#C0742A", "#1F6F8B", "#12465A", "WL"), 240, 356),
    }
