"""The looks of a flat button on a screenshot.

A look shows in the colours of the button's two outer pixel rings, sampled
in the middle of each side, in the focus frame 3 pixels inside the edge and
in where the caption's pixels lie. The colours are the system colours the
driver reads from Wine (syscolors)."""

SIDES = ("top", "left", "bottom", "right")


def system_colours(session):
    """{name: (r, g, b)} of face, shadow, highlight, darkshadow, light, text."""
    colours = {}
    for item in session.ask("syscolors").split(";"):
        name, r, g, b = item.split()
        colours[name] = (int(r), int(g), int(b))
    return colours


def side_samples(shot, rect, ring):
    """The pixels of ring `ring` (0: outermost) in the middle of each side of
    rect (left, top, right, bottom; right and bottom exclusive)."""
    left, top, right, bottom = rect
    mid_x, mid_y = (left + right) // 2, (top + bottom) // 2
    return {"top": shot.pixel(mid_x, top + ring), "left": shot.pixel(left + ring, mid_y),
            "bottom": shot.pixel(mid_x, bottom - 1 - ring), "right": shot.pixel(right - 1 - ring, mid_y)}


def expected_rings(look, colours):
    """[(top-left colour, bottom-right colour)] of rings 0 and 1."""
    face, shadow, light = colours["face"], colours["shadow"], colours["highlight"]
    if look in ("normal", "disabled"):  # etched: a sunken line outside a raised one
        return [(shadow, light), (light, shadow)]
    if look == "hot":  # raised, its outer ring painted over in the face colour
        return [(face, face), (light, shadow)]
    if look == "pressed":  # sunken
        return [(shadow, light), (colours["darkshadow"], colours["light"])]
    raise ValueError(look)


def edge_mismatches(shot, rect, look, colours):
    """[(ring, side, seen, wanted)] for every sample that differs."""
    out = []
    for ring, (top_left, bottom_right) in enumerate(expected_rings(look, colours)):
        seen = side_samples(shot, rect, ring)
        for side in SIDES:
            wanted = top_left if side in ("top", "left") else bottom_right
            if seen[side] != wanted:
                out.append((ring, side, seen[side], wanted))
    return out


def focus_frame_shown(shot, rect, colours):
    """True when the ring 3 pixels inside the edge is shadow-coloured next to
    all four corners, where the caption never reaches."""
    left, top, right, bottom = rect
    points = [(left + 4, top + 3), (left + 3, top + 4), (right - 5, bottom - 4), (right - 4, bottom - 5)]
    return all(shot.pixel(x, y) == colours["shadow"] for x, y in points)


def inside(rect, inset):
    left, top, right, bottom = rect
    return (left + inset, top + inset, right - inset, bottom - inset)


def caption_box(shot, rect, colour):
    """Bounding box of the pixels of exactly `colour` within the edge."""
    left, top, right, bottom = inside(rect, 2)
    points = [(x, y) for y in range(top, bottom) for x in range(left, right) if shot.pixel(x, y) == colour]
    if not points:
        return None
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1)


def emboss_shift(shot, rect, colours):
    """Where the disabled caption's highlight copy lies relative to the
    shadow copy on top of it. Anti-aliased text blends with the face, so
    pixels brighter than the face count as highlight ink and darker ones as
    shadow ink. Returns (highlight pixels, shift, share): the shift (dx, dy)
    in -2..2 that puts shadow ink under the largest share of the highlight
    pixels when moved back by it."""
    face = sum(colours["face"])
    left, top, right, bottom = inside(rect, 3)
    bright, dark = set(), set()
    for y in range(top, bottom):
        for x in range(left, right):
            level = sum(shot.pixel(x, y))
            if level > face + 3:
                bright.add((x, y))
            elif level < face - 3:
                dark.add((x, y))
    if not bright:
        return 0, None, 0.0

    def share(shift):
        return sum((x - shift[0], y - shift[1]) in dark for x, y in bright) / len(bright)

    best = max(((dx, dy) for dy in range(-2, 3) for dx in range(-2, 3)), key=share)
    return len(bright), best, share(best)
