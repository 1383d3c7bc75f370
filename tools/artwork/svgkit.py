"""Small helpers for writing SVG drawings by hand in Python (standard library only).

The drawings stay within what Qt's SVG renderer (SVG Tiny 1.2) draws faithfully: paths,
basic shapes, linear and radial gradients, text; no filters, masks or CSS classes.
"""

import math

FONT = "DejaVu Sans"


def num(v):
    """Shortest readable form of a coordinate."""
    r = round(v, 2)
    if r == int(r):
        return str(int(r))
    return ("%.2f" % r).rstrip("0").rstrip(".")


def pts(points):
    return " ".join("%s,%s" % (num(x), num(y)) for x, y in points)


def attrs(**kw):
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        name = k.rstrip("_").replace("_", "-")
        out.append('%s="%s"' % (name, num(v) if isinstance(v, (int, float)) else v))
    return " ".join(out)


def document(width, height, view_w, view_h, body, defs=""):
    head = ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="%s" height="%s" viewBox="0 0 %s %s">\n'
            % (num(width), num(height), num(view_w), num(view_h)))
    if defs:
        head += "<defs>\n" + defs + "</defs>\n"
    return head + body + "</svg>\n"


def rect(x, y, w, h, rx=0, **kw):
    return "<rect %s/>\n" % attrs(x=x, y=y, width=w, height=h, rx=rx or None, ry=rx or None, **kw)


def circle(cx, cy, r, **kw):
    return "<circle %s/>\n" % attrs(cx=cx, cy=cy, r=r, **kw)


def ellipse(cx, cy, rx, ry, **kw):
    return "<ellipse %s/>\n" % attrs(cx=cx, cy=cy, rx=rx, ry=ry, **kw)


def line(x1, y1, x2, y2, **kw):
    return "<line %s/>\n" % attrs(x1=x1, y1=y1, x2=x2, y2=y2, **kw)


def path(d, **kw):
    return "<path %s/>\n" % attrs(d=d, **kw)


def polygon(points, **kw):
    return "<polygon %s/>\n" % attrs(points=pts(points), **kw)


def polyline(points, **kw):
    return "<polyline %s/>\n" % attrs(points=pts(points), **kw)


def text(x, y, s, size, fill, anchor="middle", weight="bold", family=FONT, **kw):
    s = s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return "<text %s>%s</text>\n" % (
        attrs(x=x, y=y, font_family=family, font_size=size, font_weight=weight,
              text_anchor=anchor, fill=fill, **kw), s)


def group(body, transform=None, **kw):
    return "<g %s>\n%s</g>\n" % (attrs(transform=transform, **kw), body)


def linear_gradient(gid, x1, y1, x2, y2, stops):
    s = "".join('<stop offset="%s" stop-color="%s"/>' % (num(o), c) for o, c in stops)
    return ('<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="%s" y1="%s" x2="%s" y2="%s">%s'
            '</linearGradient>\n' % (gid, num(x1), num(y1), num(x2), num(y2), s))


def radial_gradient(gid, cx, cy, r, stops):
    s = "".join('<stop offset="%s" stop-color="%s"/>' % (num(o), c) for o, c in stops)
    return ('<radialGradient id="%s" gradientUnits="userSpaceOnUse" cx="%s" cy="%s" r="%s">%s'
            '</radialGradient>\n' % (gid, num(cx), num(cy), num(r), s))


def arrow(x1, y1, x2, y2, shaft, head_w, head_l):
    """Outline of a straight block arrow from (x1, y1) to its tip (x2, y2)."""
    dx, dy = x2 - x1, y2 - y1
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    nx, ny = -uy, ux
    bx, by = x2 - ux * head_l, y2 - uy * head_l
    s, h = shaft / 2, head_w / 2
    return [
        (x1 + nx * s, y1 + ny * s), (bx + nx * s, by + ny * s), (bx + nx * h, by + ny * h),
        (x2, y2),
        (bx - nx * h, by - ny * h), (bx - nx * s, by - ny * s), (x1 - nx * s, y1 - ny * s),
    ]


def polar(cx, cy, r, deg):
    """Point on a circle; 0 degrees is up, angles grow clockwise as on a dial."""
    a = math.radians(deg)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def arc_arrow(cx, cy, r, start, end, width, head_w, head_l, **kw):
    """A curved arrow along a circle from angle start to angle end (degrees, clockwise when
    end > start), drawn as a stroked arc and a filled head whose tip is at angle end."""
    clockwise = end > start
    # shorten the arc so the stroke ends inside the head
    head_deg = math.degrees(head_l / r)
    stop = end - head_deg if clockwise else end + head_deg
    x0, y0 = polar(cx, cy, r, start)
    x1, y1 = polar(cx, cy, r, stop)
    large = 1 if abs(stop - start) > 180 else 0
    sweep = 1 if clockwise else 0
    d = "M%s,%s A%s,%s 0 %d %d %s,%s" % (num(x0), num(y0), num(r), num(r), large, sweep, num(x1), num(y1))
    tip = polar(cx, cy, r, end)
    # the head points along the tangent at the base of the head
    bx, by = polar(cx, cy, r, stop)
    tx, ty = tip[0] - bx, tip[1] - by
    n = math.hypot(tx, ty)
    tx, ty = tx / n, ty / n
    nx, ny = -ty, tx
    h = head_w / 2
    head = [(bx + nx * h, by + ny * h), tip, (bx - nx * h, by - ny * h)]
    color = kw.pop("color")
    return (path(d, fill="none", stroke=color, stroke_width=width, **kw)
            + polygon(head, fill=color, stroke=color, stroke_width=1, stroke_linejoin="round"))
