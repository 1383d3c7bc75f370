"""The statement glyphs: one SVG drawing per statement kind.

Every glyph is drawn on a 104 x 56 canvas (shown at 52 x 28 pixels, the shape the palette
buttons, the row icon buttons and the printout all fit). Lines are at least 3 units wide so
they survive at that size and in print. Each group of statements has its own colour family;
the three blocks (if-chain, while, for) carry a bracket: the opening glyph has the bracket's
top and spine, the else branches its middle, the end glyph its bottom, so the column of
glyphs at one indent level reads as one closed block.
"""

import math

from svgkit import (arc_arrow, arrow, circle, document, ellipse, group, line, path, polar,
                    polygon, polyline, radial_gradient, rect, text)

W, H = 104, 56

# light fill, main colour, dark ink
IF = ("#FFE3BF", "#F08A24", "#9A4F08")
WHILE = ("#D6E7FF", "#3B7DDD", "#1B4A94")
FOR = ("#EADFFB", "#8C5BD6", "#522B96")
MOTOR = ("#D9F2D4", "#3AA652", "#1B5E2B")
TIME = ("#FCDDEB", "#D6457F", "#87204B")
DATA = ("#CDEFEA", "#16A091", "#0B5E55")
FLOW = ("#E3E7ED", "#66768C", "#333F50")
OUTPUT = ("#FFF2BF", "#E0A700", "#7A5A00")
SENSOR = ("#FFE0DA", "#E2553F", "#8F2A1A")
PLAIN = ("#ECECEC", "#8A8A8A", "#444444")

WHITE = "#FFFFFF"


def tile(pal):
    return rect(2, 2, 100, 52, rx=10, fill=pal[0], stroke=pal[1], stroke_width=3)


# --- block brackets --------------------------------------------------------------------
# The spine runs down the left edge (x 2..18); it leaves the canvas where the block goes on.

def bracket_open(pal):
    fill = "M2,56 V12 Q2,2 12,2 H92 Q102,2 102,12 V34 Q102,44 92,44 H18 V56 Z"
    edge = "M2,56 V12 Q2,2 12,2 H92 Q102,2 102,12 V34 Q102,44 92,44 H18 V56"
    return (path(fill, fill=pal[0]) + path(edge, fill="none", stroke=pal[1], stroke_width=3,
                                           stroke_linejoin="round"))


def bracket_middle(pal):
    fill = "M2,0 H18 V8 H92 Q102,8 102,18 V38 Q102,48 92,48 H18 V56 H2 Z"
    edge = "M18,0 V8 H92 Q102,8 102,18 V38 Q102,48 92,48 H18 V56"
    return (path(fill, fill=pal[0]) + path(edge, fill="none", stroke=pal[1], stroke_width=3,
                                           stroke_linejoin="round")
            + line(2, 0, 2, 56, stroke=pal[1], stroke_width=3))


def bracket_close(pal):
    fill = "M2,0 V44 Q2,54 12,54 H92 Q102,54 102,44 V22 Q102,12 92,12 H18 V0 Z"
    edge = "M2,0 V44 Q2,54 12,54 H92 Q102,54 102,44 V22 Q102,12 92,12 H18 V0"
    return (path(fill, fill=pal[0]) + path(edge, fill="none", stroke=pal[1], stroke_width=3,
                                           stroke_linejoin="round"))


def spine_arrow_up(pal):
    """Arrow in the end glyph's spine: the loop goes back to its top from here."""
    return polygon(arrow(10, 44, 10, 4, 5, 12, 9), fill=pal[1])


# --- symbols of the blocks ---------------------------------------------------------------

def decision(cx, cy, hw, hh, pal, mark_size):
    d = [(cx, cy - hh), (cx + hw, cy), (cx, cy + hh), (cx - hw, cy)]
    return (polygon(d, fill=pal[1], stroke=pal[2], stroke_width=2.5, stroke_linejoin="round")
            + text(cx, cy + mark_size * 0.36, "?", mark_size, WHITE))


def loop(cx, cy, r, pal, inner=None, inner_size=0):
    body = circle(cx, cy, r, fill=WHITE, stroke="none")
    body += arc_arrow(cx, cy, r, 40, 330, 5, 13, 9, color=pal[1])
    if inner:
        body += text(cx, cy + inner_size * 0.36, inner, inner_size, pal[2])
    return body


def glyph_if():
    return (bracket_open(IF) + decision(36, 23, 13, 16, IF, 20)
            + text(76, 33, "if", 28, IF[2]))


def glyph_elseif():
    return (bracket_middle(IF) + decision(34, 28, 11, 14, IF, 17)
            + text(73, 26, "else", 18, IF[2]) + text(73, 44, "if", 18, IF[2]))


def glyph_else():
    return bracket_middle(IF) + text(60, 36, "else", 24, IF[2])


def glyph_end_if():
    return (bracket_close(IF) + decision(34, 33, 9, 12, IF, 14)
            + text(70, 41, "end", 22, IF[2]))


def glyph_while():
    return (bracket_open(WHILE) + loop(31, 23, 11, WHILE, "?", 13)
            + text(73, 30, "while", 20, WHILE[2]))


def glyph_end_while():
    return (bracket_close(WHILE) + spine_arrow_up(WHILE) + loop(38, 33, 10, WHILE, "?", 12)
            + text(74, 41, "end", 22, WHILE[2]))


def glyph_for():
    return (bracket_open(FOR) + loop(35, 23, 13, FOR, "3", 14)
            + text(76, 33, "for", 26, FOR[2]))


def glyph_end_for():
    return (bracket_close(FOR) + spine_arrow_up(FOR) + loop(38, 33, 10, FOR, "3", 12)
            + text(74, 41, "end", 22, FOR[2]))


# --- jumps --------------------------------------------------------------------------------

def glyph_continue():
    chevrons = ""
    for x in (14, 30):
        chevrons += polyline([(x, 14), (x + 12, 28), (x, 42)], fill="none", stroke=FLOW[1],
                             stroke_width=6, stroke_linecap="round", stroke_linejoin="round")
    return tile(FLOW) + chevrons + loop(72, 28, 15, FLOW)


def glyph_break():
    cx, cy, r = 34, 28, 16
    x0, y0 = polar(cx, cy, r, 120)
    x1, y1 = polar(cx, cy, r, 420)
    ring = path("M%.2f,%.2f A%d,%d 0 1 1 %.2f,%.2f" % (x0, y0, r, r, x1, y1), fill="none",
                stroke=FLOW[1], stroke_width=5, stroke_linecap="round")
    return (tile(FLOW) + ring + circle(cx, cy, 4, fill=FLOW[2])
            + polygon(arrow(cx, cy, 96, cy, 8, 22, 16), fill=FLOW[2]))


def sub_box(x, y, w, h, pal):
    return (rect(x + 5, y - 5, w, h, rx=5, fill=WHITE, stroke=pal[1], stroke_width=3)
            + rect(x, y, w, h, rx=5, fill=WHITE, stroke=pal[2], stroke_width=3)
            + text(x + w / 2, y + h / 2 + 6, "Sub", 17, pal[2]))


def glyph_subcall():
    return (tile(FLOW) + polygon(arrow(8, 30, 50, 30, 8, 20, 14), fill="#2E9E4F")
            + sub_box(52, 15, 40, 30, FLOW))


def glyph_return():
    # the way back out of the sub program, the mirror of the call
    return (tile(FLOW) + sub_box(52, 15, 40, 30, FLOW)
            + polygon(arrow(50, 30, 8, 30, 8, 20, 14), fill="#D9822B"))


def gear(cx, cy, r_out, r_in, teeth, fill, stroke):
    p = []
    for i in range(teeth * 4):
        a = i * 360.0 / (teeth * 4)
        r = r_out if (i % 4) in (1, 2) else r_in
        p.append(polar(cx, cy, r, a))
    return (polygon(p, fill=fill, stroke=stroke, stroke_width=2, stroke_linejoin="round")
            + circle(cx, cy, r_in * 0.42, fill=WHITE, stroke=stroke, stroke_width=2))


def glyph_setup():
    return (tile(PLAIN) + gear(30, 28, 19, 14, 8, PLAIN[1], PLAIN[2])
            + text(72, 36, "I/O", 24, PLAIN[2]))


def glyph_unknown():
    return tile(PLAIN) + text(52, 40, "?", 36, PLAIN[2])


# --- motors -------------------------------------------------------------------------------
# The robot seen from above, front up, with an arrow beside each wheel: up forward, down
# backward, long full speed, short slower. The arrows tell the ten drive patterns apart.

ROBOT_TOP, ROBOT_BOTTOM = 10, 48


def robot():
    body = rect(39, ROBOT_TOP, 26, ROBOT_BOTTOM - ROBOT_TOP, rx=7, fill=WHITE,
                stroke=MOTOR[2], stroke_width=3)
    body += circle(47, 19, 3, fill=MOTOR[2]) + circle(57, 19, 3, fill=MOTOR[2])
    for x in (30, 65):
        body += rect(x, 15, 9, 28, rx=3, fill="#263238")
    return body


def wheel_arrow(cx, direction, full):
    """direction +1 forward (up), -1 backward; full: long arrow, else short."""
    half = 19 if full else 9
    mid = 29
    tail, tip = (mid + half, mid - half) if direction > 0 else (mid - half, mid + half)
    return polygon(arrow(cx, tail, cx, tip, 7, 17, 11 if full else 10), fill=MOTOR[2])


def motor_glyph(left, right):
    """left/right: (direction, full) per wheel."""
    return (tile(MOTOR) + robot() + wheel_arrow(16, *left) + wheel_arrow(88, *right))


def stop_sign(cx, cy):
    p = [polar(cx, cy, 11, 22.5 + 45 * i) for i in range(8)]
    return (polygon(p, fill="#D93025", stroke="#8E1B14", stroke_width=1.5)
            + rect(cx - 7, cy - 2.5, 14, 5, fill=WHITE))


def glyph_motor_stop():
    return tile(MOTOR) + robot() + stop_sign(16, 29) + stop_sign(88, 29)


def var_arrow(cx):
    body = polygon(arrow(cx, 29, cx, 8, 6, 15, 9), fill=DATA[1])
    body += polygon(arrow(cx, 29, cx, 50, 6, 15, 9), fill=DATA[1])
    return body + rect(cx - 8, 21, 16, 16, rx=4, fill=WHITE, stroke=DATA[2], stroke_width=2) \
        + text(cx, 34.5, "x", 15, DATA[2])


def glyph_motor_variable():
    return tile(MOTOR) + robot() + var_arrow(16) + var_arrow(88)


# --- time ---------------------------------------------------------------------------------

def glyph_wait():
    hg = path("M18,8 H46 M18,48 H46", stroke=TIME[2], stroke_width=4, stroke_linecap="round")
    glass = path("M21,10 C21,22 29,24 29,28 C29,32 21,34 21,46 H43 C43,34 35,32 35,28 "
                 "C35,24 43,22 43,10 Z", fill=WHITE, stroke=TIME[2], stroke_width=3,
                 stroke_linejoin="round")
    sand = (path("M25,16 H39 C38,22 33,24 32,27 C31,24 26,22 25,16 Z", fill=TIME[1])
            + path("M23.5,44 C25,38 30,36 32,35 C34,36 39,38 40.5,44 Z", fill=TIME[1]))
    dots = "".join(circle(x, 36, 4.5, fill=TIME[2]) for x in (62, 76, 90))
    return tile(TIME) + glass + sand + hg + dots


def glyph_timer():
    cx, cy, r = 36, 31, 17
    body = rect(cx - 5, 6, 10, 6, rx=2, fill=TIME[2])
    body += line(cx + 13, 14, cx + 17, 10, stroke=TIME[2], stroke_width=4, stroke_linecap="round")
    body += circle(cx, cy, r, fill=WHITE, stroke=TIME[2], stroke_width=4)
    for a in range(0, 360, 90):
        x0, y0 = polar(cx, cy, r - 3, a)
        x1, y1 = polar(cx, cy, r - 7, a)
        body += line(x0, y0, x1, y1, stroke=TIME[2], stroke_width=2.5)
    body += path("M%d,%d L%.2f,%.2f A%d,%d 0 0 1 %d,%d Z" % (
        cx, cy, *polar(cx, cy, r - 5, 0), r - 5, r - 5, *[round(v) for v in polar(cx, cy, r - 5, 120)]),
        fill=TIME[1])
    x1, y1 = polar(cx, cy, r - 4, 120)
    body += line(cx, cy, x1, y1, stroke=TIME[2], stroke_width=3, stroke_linecap="round")
    body += circle(cx, cy, 2.5, fill=TIME[2])
    body += polygon([(68, 16), (90, 29), (68, 42)], fill=TIME[1], stroke=TIME[2],
                    stroke_width=2.5, stroke_linejoin="round")
    return tile(TIME) + body


# --- data ---------------------------------------------------------------------------------

def glyph_variable():
    box = rect(10, 9, 38, 38, rx=7, fill=WHITE, stroke=DATA[2], stroke_width=3)
    return (tile(DATA) + box + text(29, 38, "A", 28, DATA[1])
            + text(76, 38, "=1", 26, DATA[2]))


def glyph_ccode():
    return (tile(DATA) + text(24, 40, "{", 30, DATA[2]) + text(52, 41, "C", 32, DATA[1])
            + text(80, 40, "}", 30, DATA[2]))


# --- outputs ------------------------------------------------------------------------------

def led(cx, color_on, color_off, on, gid):
    defs = ""
    dome = "M%d,42 V24 A12,12 0 0 1 %d,24 V42 Z" % (cx - 12, cx + 12)
    body = ""
    if on:
        for a in (-70, -35, 0, 35, 70):
            x0, y0 = polar(cx, 24, 17, a)
            x1, y1 = polar(cx, 24, 23, a)
            body += line(x0, y0, x1, y1, stroke=color_on, stroke_width=3.5, stroke_linecap="round")
        defs = radial_gradient(gid, cx - 4, 20, 16, [(0, "#FFFFFF"), (0.35, color_on), (1, color_on)])
        body += path(dome, fill="url(#%s)" % gid, stroke=OUTPUT[2], stroke_width=2.5)
    else:
        body += path(dome, fill=color_off, stroke=OUTPUT[2], stroke_width=2.5)
        body += path("M%d,38 V25 A7,7 0 0 1 %d,21" % (cx - 7, cx - 1), fill="none",
                     stroke="#FFFFFF", stroke_width=2, stroke_linecap="round", opacity=0.6)
    body += rect(cx - 15, 42, 30, 5, rx=1.5, fill=color_on if on else color_off,
                 stroke=OUTPUT[2], stroke_width=2)
    body += line(cx - 6, 47, cx - 6, 53, stroke="#777777", stroke_width=2.5)
    body += line(cx + 6, 47, cx + 6, 53, stroke="#777777", stroke_width=2.5)
    return defs, body


def led_glyph(color_on, color_off, on, gid):
    defs, lamp = led(29, color_on, color_off, on, gid)
    label = text(74, 37, "ON" if on else "OFF", 22 if on else 20, OUTPUT[2])
    return defs, tile(OUTPUT) + lamp + label


GREEN_ON, GREEN_OFF = "#22C84A", "#9DB7A2"
RED_ON, RED_OFF = "#F0302A", "#C4A09D"


def glyph_pwm():
    y_hi, y_lo = 14, 42
    xs = [8, 14, 30, 36, 48, 54, 60, 66, 90, 96]
    p = [(8, y_lo)]
    level = y_lo
    for x in xs[1:]:
        p.append((x, level))
        level = y_hi if level == y_lo else y_lo
        p.append((x, level))
    return tile(OUTPUT) + polyline(p[:-1], fill="none", stroke=OUTPUT[2], stroke_width=4,
                                   stroke_linejoin="round", stroke_linecap="round")


def glyph_servo():
    hub_x, hub_y = 46, 36
    body = rect(8, 31, 60, 10, rx=2, fill="#37474F")
    body += rect(14, 24, 48, 24, rx=3, fill="#37474F")
    tip = polar(hub_x, hub_y, 21, 40)
    arm = "M%d,%d L%.2f,%.2f" % (hub_x, hub_y, *tip)
    body += path(arm, stroke=OUTPUT[2], stroke_width=10, stroke_linecap="round")
    body += path(arm, stroke=WHITE, stroke_width=5.5, stroke_linecap="round")
    body += circle(hub_x, hub_y, 6.5, fill=WHITE, stroke=OUTPUT[2], stroke_width=2.5)
    # it swings both ways
    body += arc_arrow(hub_x, hub_y, 30, 40, 84, 4, 11, 8, color=OUTPUT[2])
    body += arc_arrow(hub_x, hub_y, 30, 40, -4, 4, 11, 8, color=OUTPUT[2])
    return tile(OUTPUT) + body


def glyph_output():
    body = rect(10, 10, 20, 36, rx=3, fill="#263238")
    for y in (17, 28, 39):
        body += rect(16, y - 3, 8, 6, fill="#F2C94C")
    body += polygon(arrow(34, 28, 60, 28, 7, 17, 11), fill=OUTPUT[2])
    body += polyline([(64, 42), (76, 42), (76, 14), (94, 14)], fill="none", stroke=OUTPUT[2],
                     stroke_width=4, stroke_linejoin="round", stroke_linecap="round")
    return tile(OUTPUT) + body


def glyph_lcd():
    body = rect(8, 8, 88, 40, rx=5, fill="#37474F")
    body += rect(14, 13, 76, 30, rx=2, fill="#B7D77A")
    mono = "DejaVu Sans Mono"
    body += text(52, 26, "ABC", 13, "#2E4A16", family=mono)
    body += text(52, 39, "123", 13, "#2E4A16", family=mono)
    return tile(OUTPUT) + body


# --- sensors and modules -----------------------------------------------------------------

def glyph_gamepad():
    pad = path("M30,14 H74 C88,14 96,28 96,40 C96,48 88,50 82,44 L74,36 H30 L22,44 "
               "C16,50 8,48 8,40 C8,28 16,14 30,14 Z", fill=WHITE, stroke=SENSOR[2],
               stroke_width=3, stroke_linejoin="round")
    cross = rect(22, 20, 6, 18, fill=SENSOR[2]) + rect(16, 26, 18, 6, fill=SENSOR[2])
    buttons = (circle(76, 22, 3.5, fill="#2F80ED") + circle(84, 29, 3.5, fill="#EB5757")
               + circle(68, 29, 3.5, fill="#F2C94C") + circle(76, 36, 3.5, fill="#27AE60"))
    return tile(SENSOR) + pad + cross + buttons


def glyph_ultrasonic():
    body = rect(8, 12, 50, 32, rx=4, fill="#2F6FB5", stroke="#1D4673", stroke_width=2)
    for cx in (21, 45):
        body += circle(cx, 28, 10, fill="#D8DDE2", stroke="#5F6B76", stroke_width=2.5)
        body += circle(cx, 28, 4, fill="#5F6B76")
    for r in (8, 16, 24):
        x0, y0 = polar(62, 28, r, 50)
        x1, y1 = polar(62, 28, r, 130)
        body += path("M%.2f,%.2f A%d,%d 0 0 1 %.2f,%.2f" % (x0, y0, r, r, x1, y1), fill="none",
                     stroke=SENSOR[2], stroke_width=3.5, stroke_linecap="round")
    return tile(SENSOR) + body


def glyph_camera():
    body = rect(10, 14, 50, 34, rx=6, fill="#37474F")
    body += rect(18, 9, 14, 7, rx=2, fill="#37474F")
    body += circle(35, 31, 12, fill="#B0BEC5", stroke=WHITE, stroke_width=2.5)
    body += circle(35, 31, 6, fill="#263238")
    body += circle(33, 29, 2, fill=WHITE)
    blobs = (circle(76, 19, 7, fill="#F03A2E", stroke=SENSOR[2], stroke_width=1.5)
             + circle(88, 36, 7, fill="#F5D000", stroke=SENSOR[2], stroke_width=1.5)
             + circle(70, 39, 7, fill="#2F6FED", stroke=SENSOR[2], stroke_width=1.5))
    return tile(SENSOR) + body + blobs


def glyph_touch():
    # a bumper switch: the plunger is pressed into its housing
    body = rect(38, 14, 50, 28, rx=4, fill="#37474F")
    body += rect(44, 20, 38, 16, rx=2, fill="#546E7A")
    body += rect(22, 23, 18, 10, rx=2, fill=SENSOR[1], stroke=SENSOR[2], stroke_width=2)
    body += rect(10, 14, 8, 28, rx=3, fill=WHITE, stroke=SENSOR[2], stroke_width=3)
    body += polygon(arrow(2, 28, 9, 28, 3, 10, 5), fill=SENSOR[2])
    return tile(SENSOR) + body


def glyph_sensor():
    # an analog reading: a dial with its needle and the scale it is compared against
    body = path("M18,44 A34,34 0 0 1 86,44", fill=WHITE, stroke=SENSOR[2], stroke_width=3)
    for deg in (200, 230, 260, 290, 320):
        x0, y0 = polar(52, 44, 26, deg)
        x1, y1 = polar(52, 44, 31, deg)
        body += line(x0, y0, x1, y1, stroke=SENSOR[2], stroke_width=2.5, stroke_linecap="round")
    tip = polar(52, 44, 27, 300)
    body += line(52, 44, tip[0], tip[1], stroke=SENSOR[1], stroke_width=4, stroke_linecap="round")
    body += circle(52, 44, 5, fill=SENSOR[2])
    return tile(SENSOR) + body


def glyph_direction():
    # a compass rose: north in colour, the other points in ink
    body = circle(52, 28, 21, fill=WHITE, stroke=SENSOR[2], stroke_width=3)
    body += polygon([(52, 9), (58, 28), (46, 28)], fill=SENSOR[1])
    body += polygon([(52, 47), (58, 28), (46, 28)], fill=SENSOR[2])
    body += polygon([(33, 28), (52, 24), (52, 32)], fill="#B0BEC5")
    body += polygon([(71, 28), (52, 24), (52, 32)], fill="#B0BEC5")
    body += circle(52, 28, 3, fill=WHITE, stroke=SENSOR[2], stroke_width=1.5)
    body += text(84, 22, "N", 14, SENSOR[2])
    return tile(SENSOR) + body


def all_glyphs():
    """File base name -> SVG text, for every glyph the program looks up."""
    plain = {
        "if": glyph_if, "elseif": glyph_elseif, "else": glyph_else, "end_if": glyph_end_if,
        "while": glyph_while, "end_while": glyph_end_while,
        "for": glyph_for, "end_for": glyph_end_for,
        "continue": glyph_continue, "break": glyph_break,
        "setup": glyph_setup, "subcall": glyph_subcall, "return": glyph_return,
        "motor_variable": glyph_motor_variable, "motor_stop": glyph_motor_stop,
        "wait": glyph_wait, "timer": glyph_timer,
        "variable": glyph_variable, "ccode": glyph_ccode,
        "pwm": glyph_pwm, "servo": glyph_servo, "output": glyph_output, "lcd": glyph_lcd,
        "gamepad": glyph_gamepad, "ultrasonic": glyph_ultrasonic, "camera": glyph_camera,
        "touch": glyph_touch, "sensor": glyph_sensor, "direction": glyph_direction,
        "unknown": glyph_unknown,
    }
    out = {name: document(W / 2, H / 2, W, H, fn()) for name, fn in plain.items()}
    F, B = +1, -1
    motors = {
        "motor_forward": ((F, True), (F, True)),
        "motor_backward": ((B, True), (B, True)),
        "spin_left": ((B, True), (F, True)),
        "spin_right": ((F, True), (B, True)),
        "turn_forward_left": ((F, False), (F, True)),
        "turn_forward_right": ((F, True), (F, False)),
        "turn_backward_left": ((B, False), (B, True)),
        "turn_backward_right": ((B, True), (B, False)),
    }
    for name, (l, r) in motors.items():
        out[name] = document(W / 2, H / 2, W, H, motor_glyph(l, r))
    leds = {
        "led_green_off": (GREEN_ON, GREEN_OFF, False),
        "led_green_on": (GREEN_ON, GREEN_OFF, True),
        "led_red_off": (RED_ON, RED_OFF, False),
        "led_red_on": (RED_ON, RED_OFF, True),
    }
    for name, (on_c, off_c, on) in leds.items():
        defs, body = led_glyph(on_c, off_c, on, "lamp")
        out[name] = document(W / 2, H / 2, W, H, body, defs)
    return out
