#!/usr/bin/env python3
"""Renders every toolbar button for looking at, not for the build.

Usage:
    python3 resources/art/contact_sheet.py OUTDIR

Writes into OUTDIR:
    toolbar_x4.png      every tb<id>.bmp as make_art.py writes it, four times its size, labelled
    toolbar_x1.png      the buttons at their real size on a toolbar: raised, pressed and greyed
    toolbar_x1_big.png  the same strip enlarged three times, to check the 1x look pixel by pixel

The enlarged sheet is made by ImageMagick's `convert` and `montage` from the .bmp files themselves,
so it also shows that another reader decodes them. The toolbar strip is drawn here: buttons with a
classic raised edge, then pushed in, then greyed the way a toolbar greys a disabled button (every
pixel that is neither button face nor white becomes an etched grey, white and face vanish).
"""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import make_art  # noqa: E402

FACE = (0xC0, 0xC0, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)
SHADOW = (0x80, 0x80, 0x80)
BLACK = (0, 0, 0)


def button(canvas, left, top, pix, state):
    """Draws one 26x26 toolbar button with its 20x20 picture at (left, top)."""
    size = make_art.TOOLBAR_SIZE + 6
    if state == "raised":
        light, dark, outer = WHITE, SHADOW, BLACK
        shift = 0
    else:
        light, dark, outer = BLACK, WHITE, WHITE
        shift = 1 if state == "pressed" else 0
    if state == "disabled":
        light, dark, outer = WHITE, SHADOW, BLACK
    for i in range(size):
        canvas[top][left + i] = light
        canvas[top + i][left] = light
        canvas[top + size - 1][left + i] = outer
        canvas[top + i][left + size - 1] = outer
    for i in range(1, size - 1):
        canvas[top + size - 2][left + i] = dark
        canvas[top + i][left + size - 2] = dark
    if state == "pressed":
        for i in range(1, size - 1):
            canvas[top + 1][left + i] = SHADOW
            canvas[top + i][left + 1] = SHADOW
    ox, oy = left + 3 + shift, top + 3 + shift
    n = make_art.TOOLBAR_SIZE
    if state == "disabled":
        ink = [[pix[y][x] not in (make_art.BUTTON_FACE, 15) for x in range(n)] for y in range(n)]
        for y in range(n):
            for x in range(n):
                if ink[y][x]:
                    canvas[oy + y + 1][ox + x + 1] = WHITE
        for y in range(n):
            for x in range(n):
                if ink[y][x]:
                    canvas[oy + y][ox + x] = SHADOW
        return
    for y in range(n):
        for x in range(n):
            canvas[oy + y][ox + x] = make_art.VGA16[pix[y][x]]


def label_font():
    """A font file for the labels: ImageMagick's default font is often missing."""
    try:
        path = subprocess.run(["fc-match", "-f", "%{file}", "sans"], stdout=subprocess.PIPE,
                              universal_newlines=True).stdout.strip()
    except OSError:
        return []
    return ["-font", path] if path and os.path.exists(path) else []


def write_ppm(path, canvas):
    h, w = len(canvas), len(canvas[0])
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (w, h))
        for row in canvas:
            f.write(bytes(c for px in row for c in px))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: %s OUTDIR\n" % os.path.basename(argv[0]))
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    files = make_art.build_all()
    grids = [(cmd_id, kw, make_art.load_toolbar_grid(os.path.join(HERE, "toolbar", kw + ".txt"))[2])
             for cmd_id, kw in make_art.TOOLBAR]

    with tempfile.TemporaryDirectory() as tmp:
        tiles = []
        for cmd_id, kw, _ in grids:
            name = make_art.toolbar_name(cmd_id)
            src = os.path.join(tmp, name)
            with open(src, "wb") as f:
                f.write(files[name])
            big = os.path.join(tmp, "%s.png" % kw)
            subprocess.run(["convert", src, "-scale", "400%", big], check=True)
            tiles += ["-label", "%s %d" % (kw, cmd_id), big]
        subprocess.run(["montage"] + tiles + ["-tile", "8x", "-geometry", "+6+6", "-background", "#c0c0c0",
                        "-pointsize", "11"] + label_font() + [os.path.join(outdir, "toolbar_x4.png")], check=True)

        # The strip: one row a state, buttons side by side with a small gap as on a real toolbar.
        cell = make_art.TOOLBAR_SIZE + 6
        per_row = 19
        rows_of_buttons = (len(grids) + per_row - 1) // per_row
        states = ("raised", "pressed", "disabled")
        w = 8 + per_row * (cell + 1)
        h = 8 + len(states) * rows_of_buttons * (cell + 3)
        canvas = [[FACE] * w for _ in range(h)]
        for s, state in enumerate(states):
            for i, (_, _, pix) in enumerate(grids):
                r, c = divmod(i, per_row)
                top = 4 + (s * rows_of_buttons + r) * (cell + 3)
                button(canvas, 4 + c * (cell + 1), top, pix, state)
        ppm = os.path.join(tmp, "strip.ppm")
        write_ppm(ppm, canvas)
        subprocess.run(["convert", ppm, os.path.join(outdir, "toolbar_x1.png")], check=True)
        subprocess.run(["convert", ppm, "-scale", "300%", os.path.join(outdir, "toolbar_x1_big.png")], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
