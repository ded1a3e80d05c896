"""Shared drawing code for the scripts in res/: the program's colours, the emblem (a loudspeaker
sending out sound waves on a teal disc), the mosquito of the banner and the About picture, and a small
painter that draws anti-aliased shapes by supersampling with Pillow.

Shapes are described in their own units and drawn through an affine transform, so the same geometry
serves every pixel size and the SVG icon."""
import math

from PIL import Image, ImageDraw, ImageFont

DEJAVU_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

# The brand colours.
TEAL_LIGHT = (46, 136, 146)
TEAL = (34, 112, 122)
TEAL_DARK = (22, 80, 88)
INK = (36, 60, 66)            # the name, dark slate with a hint of teal
INK_SOFT = (112, 106, 88)     # secondary text, warm grey that sits on the khaki gradient
GLYPH = (64, 72, 74)          # the small loudspeaker glyph
WHITE = (255, 255, 255)


def window_gradient(y):
    """The main window's background colour at client row y (rows past 370 keep the last colour)."""
    y = max(0, min(y, 370))
    return (244 - 24 * y // 371, 243 - 28 * y // 371, 238 - 54 * y // 371)


def font(path, size):
    return ImageFont.truetype(path, size, layout_engine=ImageFont.Layout.RAQM)


# ---------------------------------------------------------------------------------------------------
# Geometry helpers


def rounded(points, radius, steps=8):
    """Corners of a closed polygon replaced by quadratic curves that start `radius` from each corner
    (less on short edges), so a hard-edged outline gets soft corners."""
    out = []
    n = len(points)
    for i in range(n):
        px, py = points[i]
        ax, ay = points[i - 1]
        bx, by = points[(i + 1) % n]
        la = math.hypot(ax - px, ay - py)
        lb = math.hypot(bx - px, by - py)
        t = min(radius, la / 2, lb / 2)
        s = (px + (ax - px) * t / la, py + (ay - py) * t / la)
        e = (px + (bx - px) * t / lb, py + (by - py) * t / lb)
        for k in range(steps + 1):
            u = k / steps
            out.append(((1 - u) ** 2 * s[0] + 2 * u * (1 - u) * px + u * u * e[0],
                        (1 - u) ** 2 * s[1] + 2 * u * (1 - u) * py + u * u * e[1]))
    return out


def arc_points(cx, cy, r, a0, a1, steps=48):
    """Points along a circle's arc from angle a0 to a1 in degrees (0 = right, positive = down)."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * k / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * k / steps))) for k in range(steps + 1)]


def ellipse_points(cx, cy, rx, ry, angle=0.0, steps=64):
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    pts = []
    for k in range(steps):
        t = 2 * math.pi * k / steps
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + x * c - y * s, cy + x * s + y * c))
    return pts


# ---------------------------------------------------------------------------------------------------
# Painter


class Painter:
    """Draws on an RGBA image that is `ss` times the final size, through an affine transform from
    shape units to final pixels. Colours may carry alpha; shapes blend over what is there."""

    def __init__(self, image, ss, matrix=(1, 0, 0, 0, 1, 0)):
        self.image = image
        self.ss = ss
        self.m = matrix

    def transformed(self, dx=0.0, dy=0.0, scale=1.0, angle=0.0, flip=False):
        """A painter for a child coordinate system: scaled, optionally mirrored left to right,
        rotated by `angle` degrees and moved to (dx, dy) of this one."""
        c, s = math.cos(math.radians(angle)) * scale, math.sin(math.radians(angle)) * scale
        fx = -1 if flip else 1
        a, b, cc, d, e, f = self.m
        # child -> parent: x' = fx*c*x - s*y + dx, y' = fx*s*x + c*y + dy
        ca, cb, cc2, cd, ce, cf = fx * c, -s, dx, fx * s, c, dy
        m = (a * ca + b * cd, a * cb + b * ce, a * cc2 + b * cf + cc,
             d * ca + e * cd, d * cb + e * ce, d * cc2 + e * cf + f)
        return Painter(self.image, self.ss, m)

    def _pt(self, p):
        a, b, c, d, e, f = self.m
        x, y = p
        return ((a * x + b * y + c) * self.ss, (d * x + e * y + f) * self.ss)

    def _scale(self):
        a, b, _, d, e, _ = self.m
        return math.sqrt(abs(a * e - b * d)) * self.ss

    def polygon(self, points, fill):
        """Fills a polygon, blending a translucent colour over what is there. (ImageDraw would
        replace the pixels, alpha included.)"""
        pts = [self._pt(p) for p in points]
        w, h = self.image.size
        x0 = max(0, int(math.floor(min(x for x, _ in pts))))
        y0 = max(0, int(math.floor(min(y for _, y in pts))))
        x1 = min(w, int(math.ceil(max(x for x, _ in pts))) + 1)
        y1 = min(h, int(math.ceil(max(y for _, y in pts))) + 1)
        if x0 >= x1 or y0 >= y1:
            return
        alpha = fill[3] if len(fill) == 4 else 255
        mask = Image.new("L", (x1 - x0, y1 - y0), 0)
        ImageDraw.Draw(mask).polygon([(x - x0, y - y0) for x, y in pts], fill=alpha)
        layer = Image.new("RGBA", mask.size, tuple(fill[:3]) + (0,))
        layer.putalpha(mask)
        self.image.alpha_composite(layer, (x0, y0))

    def ellipse(self, cx, cy, rx, ry, fill, angle=0.0):
        self.polygon(ellipse_points(cx, cy, rx, ry, angle), fill)

    def circle(self, cx, cy, r, fill):
        self.polygon(ellipse_points(cx, cy, r, r, 0, 96), fill)

    def stroke(self, points, width, fill):
        """A polyline with round joins and caps. Drawn as one outline so that a translucent
        colour does not darken where segments overlap."""
        self.polygon(stroke_outline(points, width / 2), fill)

    def arc(self, cx, cy, r, a0, a1, width, fill):
        self.stroke(arc_points(cx, cy, r, a0, a1), width, fill)


def stroke_outline(points, hw, cap_steps=12):
    """The outline of a polyline thickened to half-width hw, with round caps. Joins are mitred
    (the polylines used here bend gently)."""
    n = len(points)
    if n == 1:
        return ellipse_points(points[0][0], points[0][1], hw, hw)
    normals = []
    for i in range(n - 1):
        (x0, y0), (x1, y1) = points[i], points[i + 1]
        length = math.hypot(x1 - x0, y1 - y0) or 1.0
        normals.append((-(y1 - y0) / length, (x1 - x0) / length))
    left, right = [], []
    for i in range(n):
        if i == 0:
            nx, ny = normals[0]
        elif i == n - 1:
            nx, ny = normals[-1]
        else:
            ax, ay = normals[i - 1]
            bx, by = normals[i]
            nx, ny = ax + bx, ay + by
            k = nx * ax + ny * ay
            k = k if abs(k) > 0.2 else 0.2
            nx, ny = nx / k, ny / k
        x, y = points[i]
        left.append((x + nx * hw, y + ny * hw))
        right.append((x - nx * hw, y - ny * hw))

    def cap(p, nrm):
        """A half circle around p, from the side nrm points to, round to the other side."""
        x, y = p
        base = math.atan2(nrm[1], nrm[0])
        return [(x + hw * math.cos(base - math.pi * k / cap_steps),
                 y + hw * math.sin(base - math.pi * k / cap_steps)) for k in range(1, cap_steps)]

    end_cap = cap(points[-1], normals[-1])
    start_cap = cap(points[0], (-normals[0][0], -normals[0][1]))
    return left + end_cap + right[::-1] + start_cap


def supersampled(width, height, ss, background=(0, 0, 0, 0)):
    return Image.new("RGBA", (width * ss, height * ss), background)


def downsample(image, ss):
    """Box-filters a supersampled RGBA image down by ss (Pillow averages with premultiplied alpha)."""
    return image.reduce(ss)


# ---------------------------------------------------------------------------------------------------
# The emblem: a loudspeaker with two sound waves, in a 32 x 32 unit square


class Geometry:
    """Where the emblem's parts lie, in 32 x 32 units. box: the loudspeaker's box (left, right, top,
    bottom); cone: its mouth (right, top, bottom); waves: radii of the arcs around wave_centre, each
    wave_width wide and reaching wave_span degrees either side of the axis."""

    def __init__(self, box, cone, corner, wave_centre, waves, wave_width, wave_span):
        self.box, self.cone, self.corner = box, cone, corner
        self.wave_centre, self.waves, self.wave_width, self.wave_span = \
            wave_centre, waves, wave_width, wave_span

    def but(self, **changes):
        g = Geometry(**self.__dict__)
        g.__dict__.update(changes)
        return g


# The emblem as drawn at 32 pixels and above, and in the SVG.
EMBLEM = Geometry(box=(6.6, 11.2, 12.6, 19.4), cone=(16.8, 7.6, 24.4), corner=1.3,
                  wave_centre=(15.2, 16.0), waves=(5.6, 10.0), wave_width=2.3, wave_span=44)
# From 20 to 31 pixels: bolder waves, so that the gap between them survives.
EMBLEM_SMALL = EMBLEM.but(waves=(6.0, 10.6), wave_width=3.0)
# Below 20 pixels: one wave, and edges on whole pixels of the 16-pixel grid (2 units a pixel).
EMBLEM_TINY = Geometry(box=(6, 10, 12, 20), cone=(16, 6, 26), corner=1.0,
                       wave_centre=(8.0, 16.0), waves=(12.0,), wave_width=3.4, wave_span=45)
# The loudspeaker glyph without the disc, for a 16 x 15 box (the same grid, 2 units a pixel).
GLYPH_SHAPE = Geometry(box=(2, 7, 11, 19), cone=(13, 4, 26), corner=1.0,
                       wave_centre=(12.0, 15.0), waves=(6.0, 12.0), wave_width=3.2, wave_span=40)


def speaker_outline(g, dx=0.0):
    """The loudspeaker, a box with a cone opening to the right, with softened corners."""
    box_l, box_r, box_t, box_b = g.box
    cone_r, cone_t, cone_b = g.cone
    return rounded([(box_l + dx, box_t), (box_r + dx, box_t), (cone_r + dx, cone_t),
                    (cone_r + dx, cone_b), (box_r + dx, box_b), (box_l + dx, box_b)], g.corner)


def emblem_shapes(g=EMBLEM, disc=True, waves=True, speaker=WHITE, wave=WHITE, speaker_dx=0.0):
    """The emblem as shapes in 32 x 32 units: ('disc', cx, cy, r, top colour, bottom colour),
    ('ring', cx, cy, r, width, colour), ('polygon', points, colour) and
    ('arc', cx, cy, r, a0, a1, width, colour). Without its waves the loudspeaker can be moved right
    by speaker_dx to sit centred in the disc."""
    shapes = []
    if disc:
        shapes.append(("disc", 16, 16, 15.5, TEAL_LIGHT, TEAL_DARK))
        shapes.append(("ring", 16, 16, 15.5, 0.9, TEAL_DARK + (150,)))
    shapes.append(("polygon", speaker_outline(g, speaker_dx), speaker))
    if waves:
        cx, cy = g.wave_centre
        for r in g.waves:
            shapes.append(("arc", cx, cy, r, -g.wave_span, g.wave_span, g.wave_width, wave))
    return shapes


def placed_emblem(p, centre, radius):
    """A painter that draws the emblem's 32 x 32 units with its disc at `centre` with `radius`, and
    the point its waves spread from, in the parent painter's units."""
    s = 2 * radius / 31.0   # the disc's diameter is 31 units
    left, top = centre[0] - 16 * s, centre[1] - 16 * s
    wave_source = (left + EMBLEM.wave_centre[0] * s, top + EMBLEM.wave_centre[1] * s)
    return p.transformed(dx=left, dy=top, scale=s), wave_source


def geometry_for_size(size):
    return EMBLEM if size >= 32 else EMBLEM_SMALL if size >= 20 else EMBLEM_TINY


def paint_shapes(painter, shapes):
    for shape in shapes:
        kind = shape[0]
        if kind == "disc":
            _, cx, cy, r, top, bottom = shape
            paint_gradient_disc(painter, cx, cy, r, top, bottom)
        elif kind == "ring":
            _, cx, cy, r, width, colour = shape
            outer = ellipse_points(cx, cy, r, r, 0, 96)
            inner = ellipse_points(cx, cy, r - width, r - width, 0, 96)
            # An annulus as one polygon: outer circle, then the inner one backwards.
            painter.polygon(outer + [outer[0]] + [inner[0]] + inner[::-1], colour)
        elif kind == "polygon":
            painter.polygon(shape[1], shape[2])
        elif kind == "arc":
            _, cx, cy, r, a0, a1, width, colour = shape
            painter.arc(cx, cy, r, a0, a1, width, colour)


def paint_gradient_disc(painter, cx, cy, r, top, bottom):
    """A disc filled with a vertical gradient from `top` at its top edge to `bottom` at its foot."""
    mask_img = Image.new("L", painter.image.size, 0)
    ImageDraw.Draw(mask_img).polygon(
        [painter._pt(p) for p in ellipse_points(cx, cy, r, r, 0, 128)], fill=255)
    y0 = painter._pt((cx, cy - r))[1]
    y1 = painter._pt((cx, cy + r))[1]
    w, h = painter.image.size
    grad = Image.new("RGBA", (1, h))
    for y in range(h):
        t = min(1.0, max(0.0, (y - y0) / max(1.0, y1 - y0)))
        grad.putpixel((0, y), tuple(int(round(top[i] + (bottom[i] - top[i]) * t)) for i in range(3)) + (255,))
    grad = grad.resize((w, h))
    grad.putalpha(mask_img)
    painter.image.alpha_composite(grad)


def svg_shapes(shapes, indent="  "):
    """The same shapes as SVG elements in 32 x 32 user units."""
    out = []
    defs = []

    def colour(c):
        s = "#%02x%02x%02x" % c[:3]
        return s if len(c) == 3 else '%s" fill-opacity="%.3f' % (s, c[3] / 255)

    def stroke_colour(c):
        s = "#%02x%02x%02x" % c[:3]
        return s if len(c) == 3 else '%s" stroke-opacity="%.3f' % (s, c[3] / 255)

    for shape in shapes:
        kind = shape[0]
        if kind == "disc":
            _, cx, cy, r, top, bottom = shape
            defs.append('<linearGradient id="disc" x1="0" y1="%g" x2="0" y2="%g" '
                        'gradientUnits="userSpaceOnUse">'
                        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
                        '</linearGradient>' % (cy - r, cy + r, colour(top), colour(bottom)))
            out.append('<circle cx="%g" cy="%g" r="%g" fill="url(#disc)"/>' % (cx, cy, r))
        elif kind == "ring":
            _, cx, cy, r, width, c = shape
            out.append('<circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" stroke-width="%g"/>'
                       % (cx, cy, r - width / 2, stroke_colour(c), width))
        elif kind == "polygon":
            pts = " ".join("%.3f,%.3f" % p for p in shape[1])
            out.append('<polygon points="%s" fill="%s"/>' % (pts, colour(shape[2])))
        elif kind == "arc":
            _, cx, cy, r, a0, a1, width, c = shape
            x0 = cx + r * math.cos(math.radians(a0))
            y0 = cy + r * math.sin(math.radians(a0))
            x1 = cx + r * math.cos(math.radians(a1))
            y1 = cy + r * math.sin(math.radians(a1))
            large = 1 if abs(a1 - a0) > 180 else 0
            out.append('<path d="M%.3f %.3fA%g %g 0 %d 1 %.3f %.3f" fill="none" stroke="%s" '
                       'stroke-width="%g" stroke-linecap="round"/>'
                       % (x0, y0, r, r, large, x1, y1, stroke_colour(c), width))
    lines = []
    if defs:
        lines.append(indent + "<defs>" + "".join(defs) + "</defs>")
    lines.extend(indent + e for e in out)
    return "\n".join(lines)


# ---------------------------------------------------------------------------------------------------
# The mosquito, side view facing left, in final pixels around its thorax (about 26 x 22 px)

BODY = (70, 62, 56)
BODY_DARK = (48, 42, 38)
LEG = (84, 76, 70)
WING = (200, 216, 226, 120)
WING_EDGE = (120, 140, 152, 170)
BAND = (224, 214, 196)


def paint_speed_lines(p, colour):
    """Three short dashes behind the mosquito (in the painter of paint_mosquito), for when it makes
    off."""
    for dy, x0, x1 in ((-3.5, 17, 23), (0.5, 18, 26), (4.0, 16, 21)):
        p.stroke([(x0, dy), (x1, dy)], 0.8, colour)


def paint_mosquito(p, wing_phase=0.0):
    """Draws the mosquito with `p`, a painter whose origin is the thorax's centre. wing_phase runs
    from 0 (wings raised) to 1 (wings lowered)."""
    lw = 0.55
    # Legs first: they hang behind the body. Each is hip, knee, foot.
    legs = [((-1.2, 1.6), (-6.0, 5.6), (-9.4, 11.0)),
            ((0.2, 2.0), (-0.8, 7.2), (-2.6, 12.4)),
            ((1.6, 1.8), (6.4, 5.2), (9.8, 11.6))]
    for hip, knee, foot in legs:
        p.stroke([hip, knee, foot], lw, LEG)
    # Abdomen: a long tapering body with pale bands.
    abdomen = rounded([(1.5, -1.6), (7.0, -1.2), (13.4, 1.6), (13.8, 2.8), (7.2, 3.0), (1.5, 2.2)], 1.6)
    p.polygon(abdomen, BODY)
    for bx in (4.6, 7.4, 10.2):
        p.stroke([(bx, -0.9 + (bx - 4.6) * 0.3), (bx - 0.6, 2.5 + (bx - 4.6) * 0.02)], 0.75, BAND)
    # Thorax, head, eye, antennae and proboscis.
    p.ellipse(0, 0, 3.2, 2.6, BODY_DARK, angle=-10)
    p.circle(-4.3, -0.4, 1.75, BODY_DARK)
    p.circle(-4.7, -0.8, 0.55, (236, 232, 220))
    p.stroke([(-5.2, -1.6), (-7.0, -4.0), (-8.4, -5.0)], 0.45, BODY_DARK)
    p.stroke([(-4.6, -1.9), (-5.6, -4.6), (-6.6, -6.0)], 0.45, BODY_DARK)
    p.stroke([(-5.8, 0.2), (-9.0, 1.2), (-12.4, 2.2)], lw, BODY_DARK)
    # Wings: two translucent blades from the top of the thorax that beat between raised and lowered.
    for k, spread in ((0, 0.0), (1, 14.0)):
        angle = -62 + 52 * wing_phase + spread
        blade = ellipse_points(0, 0, 7.6, 2.0, 0, 40)
        blade = [(x + 7.2, y) for x, y in blade]
        c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        blade = [(0.6 + x * c - y * s, -1.8 + x * s + y * c) for x, y in blade]
        p.polygon(blade, WING)
        edge = blade + [blade[0]]
        p.stroke(edge, 0.35, WING_EDGE)
