#!/usr/bin/env python3
"""Draws the splash lettering once, from a font, into the coverage grids in splash/.

The grids are committed; make_art.py reads them and never needs a font or this script. Run this
again only to change the lettering:

    python3 resources/art/render_text.py

It needs the `convert` command and the two font files named below (Debian packages imagemagick,
fonts-dejavu-core and fonts-ipafont-gothic). The result is trimmed to its ink plus a margin and
stored as one character a pixel: '.' no ink, '1'..'9' that many tenths, '#' full.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
GOTHIC = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"

# (output file, text, font, point size, stroke width used to thicken thin strokes, description)
LETTERING = [
    ("title.txt", "Sorumo32", LATIN_BOLD, 34, 0.0, "the program's name"),
    ("caption.txt", "ソルモ", GOTHIC, 22, 0.5, "the program's name in katakana"),
]

MARGIN = 1


def render(text, font, size, stroke):
    """Returns (w, h, bytes of 8-bit grey, white ink on black)."""
    cmd = ["convert", "-background", "black", "-fill", "white", "-font", font, "-pointsize", str(size)]
    if stroke > 0:
        cmd += ["-stroke", "white", "-strokewidth", str(stroke)]
    cmd += ["label:" + text, "-colorspace", "Gray", "-depth", "8", "pgm:-"]
    data = subprocess.run(cmd, check=True, stdout=subprocess.PIPE).stdout
    # Binary PGM: "P5", width, height, maxval, then one byte a pixel.
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    if fields[0] != b"P5" or int(fields[3]) != 255:
        raise SystemExit("render_text: unexpected image from convert")
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos:pos + w * h]


def to_grid(w, h, pix):
    def level(v):
        q = int(round(v * 10 / 255.0))
        return "." if q == 0 else ("#" if q == 10 else str(q))

    rows = ["".join(level(pix[y * w + x]) for x in range(w)) for y in range(h)]
    inked_rows = [y for y, r in enumerate(rows) if r.strip(".")]
    inked_cols = [x for x in range(w) if any(r[x] != "." for r in rows)]
    if not inked_rows:
        raise SystemExit("render_text: no ink")
    y0, y1 = max(0, inked_rows[0] - MARGIN), min(h, inked_rows[-1] + 1 + MARGIN)
    x0, x1 = max(0, inked_cols[0] - MARGIN), min(w, inked_cols[-1] + 1 + MARGIN)
    return [r[x0:x1] for r in rows[y0:y1]]


def main():
    outdir = os.path.join(HERE, "splash")
    os.makedirs(outdir, exist_ok=True)
    for name, text, font, size, stroke, what in LETTERING:
        grid = to_grid(*render(text, font, size, stroke))
        with open(os.path.join(outdir, name), "w", encoding="utf-8") as f:
            f.write("# Splash lettering: \"%s\", %s.\n" % (text, what))
            f.write("# Drawn by render_text.py from %s at %d points; edit by hand or draw again.\n"
                    % (os.path.basename(font), size))
            f.write("# One character a pixel: '.' no ink, '1'..'9' that many tenths of ink, '#' full ink.\n")
            f.write("coverage: %dx%d\n" % (len(grid[0]), len(grid)))
            for row in grid:
                f.write(row + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
