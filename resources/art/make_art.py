#!/usr/bin/env python3
"""Builds the program's icons, toolbar buttons and splash bitmap from the text sources beside this script.

Usage:
    python3 resources/art/make_art.py OUTDIR     write every picture into OUTDIR
    python3 resources/art/make_art.py --list     print the output file names, one a line

Sources (see README.md):
    icons/NAME_32.txt, icons/NAME_16.txt   pixel grids, one character a pixel, palette at the top
    toolbar/KEYWORD.txt                    20x20 toolbar button grids, same format, no transparency
    splash/*.txt                           lettering as ink-coverage grids (made by render_text.py)

Only the Python standard library is used; the output is the same bytes on every run.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 colours of the standard VGA palette, in their usual index order.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Icon resources: (output file, [source grids, the first one is the size the resource is named for]).
ICONS = [
    ("icon1001.ico", ["app_32", "app_16"]),          # program, large
    ("icon1002.ico", ["folder_32", "folder_16"]),    # folder, large
    ("icon1003.ico", ["program_32", "program_16"]),  # executable, large
    ("icon1004.ico", ["document_32", "document_16"]),  # document, large
    ("icon1005.ico", ["link_32", "link_16"]),        # link overlay, large
    ("icon1006.ico", ["folder_16", "folder_32"]),    # folder, small
    ("icon1007.ico", ["program_16", "program_32"]),  # executable, small
    ("icon1008.ico", ["document_16", "document_32"]),  # document, small
    ("icon1009.ico", ["link_16", "link_32"]),        # link overlay, small
    ("icon1010.ico", ["app_16", "app_32"]),          # program, small
]

# Cursors: (output file, source grid, hot spot x, y).
CURSORS = [
    ("cursor24000.cur", "helpcursor_32", 0, 0),  # help mode
    # The drag cursors of the table's own drag loop, by mode and by one or several entries.
    ("cursor24001.cur", "dragmove_32", 0, 0),
    ("cursor24002.cur", "dragcopy_32", 0, 0),
    ("cursor24003.cur", "dragmovemany_32", 0, 0),
    ("cursor24004.cur", "dragcopymany_32", 0, 0),
    ("cursor24005.cur", "dragnodrop_32", 0, 0),
    ("cursor24006.cur", "draglinkmany_32", 0, 0),
    ("cursor24007.cur", "draglink_32", 0, 0),
]

# Toolbar buttons: (command id, source grid in toolbar/). Each becomes tb<id>.bmp, 20x20 at 4 bits a
# pixel, drawn on the button face colour so that it sits on a classic toolbar as it is.
TOOLBAR = [
    (24332, "fopen"),         # open file
    (182, "fmove"),           # move files
    (184, "fcopy"),           # copy files
    (180, "fdelete"),         # delete files
    (178, "fduplicate"),      # copy under another name
    (118, "fproperty"),       # change name, date, attributes
    (176, "fmakedir"),        # make a directory
    (160, "flink_ext"),       # associate by extension
    (150, "flink_name"),      # associate by file name
    (158, "flink_full"),      # associate by full name
    (154, "fmarkall"),        # select all files
    (152, "funmarkall"),      # clear the selection
    (136, "fwinopen"),        # open a new window
    (24310, "fexit"),         # close this window
    (144, "fquit"),           # quit all windows
    (132, "dkeyin"),          # change the current path
    (122, "dnetadd"),         # connect a network drive
    (120, "dnetcancel"),      # disconnect a network drive
    (146, "mkeyin"),          # enter a display mask
    (114, "vicon"),           # icon view
    (112, "vlist"),           # list view
    (174, "vsname"),          # sort by name
    (172, "vsext"),           # sort by extension
    (170, "vsnew"),           # newest first
    (168, "vsold"),           # oldest first
    (166, "vslarge"),         # largest first
    (164, "vssmall"),         # smallest first
    (148, "rkeyin"),          # type a program to run
    (140, "rregist"),         # add to the run menu
    (102, "vcolor"),          # colours
    (130, "vfont"),           # font
    (128, "vbar"),            # toolbar and status bar settings
    (126, "vdata"),           # what to show
    (124, "osavedefault"),    # save as default settings
    (190, "bedit"),           # edit the toolbar
    (186, "medit"),           # edit the mask menu
    (188, "redit"),           # edit the run menu
    (2001, "hcontents"),      # help contents
]
TOOLBAR_SIZE = 20
BUTTON_FACE = 7  # VGA index of light grey, (192, 192, 192)

SPLASH = "splash500.bmp"
SPLASH_W, SPLASH_H = 320, 120


class ArtError(Exception):
    pass


# ---------------------------------------------------------------------------------------------
# Source parsing

def _read_lines(path):
    with open(path, "r", encoding="utf-8") as f:
        return f.read().splitlines()


def _parse_size(text, path, lineno):
    try:
        w, h = text.lower().split("x")
        w, h = int(w), int(h)
    except ValueError:
        raise ArtError("%s:%d: size must be WxH, not %r" % (path, lineno, text))
    if w <= 0 or h <= 0:
        raise ArtError("%s:%d: empty size %r" % (path, lineno, text))
    return w, h


def _read_rows(lines, start, w, h, path, lineno):
    rows = lines[start:start + h]
    if len(rows) != h:
        raise ArtError("%s: %d rows of pixels, expected %d" % (path, len(rows), h))
    for i, row in enumerate(rows):
        if len(row) != w:
            raise ArtError("%s:%d: row is %d wide, expected %d" % (path, lineno + 1 + i, len(row), w))
    for extra in lines[start + h:]:
        if extra.strip():
            raise ArtError("%s: text after the last row of pixels" % path)
    return rows


def load_grid(path):
    """Reads a pixel grid: returns (width, height, pixels) where pixels[y][x] is a VGA index or None
    for a transparent pixel."""
    lines = _read_lines(path)
    palette = {}
    in_palette = False
    for n, line in enumerate(lines):
        lineno = n + 1
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if stripped == "palette:":
            in_palette = True
            continue
        if stripped.startswith("pixels:"):
            w, h = _parse_size(stripped[len("pixels:"):].strip(), path, lineno)
            rows = _read_rows(lines, n + 1, w, h, path, lineno)
            break
        if not in_palette:
            raise ArtError("%s:%d: unexpected line %r" % (path, lineno, line))
        parts = stripped.split()
        if len(parts) < 2 or len(parts[0]) != 1:
            raise ArtError("%s:%d: palette entry must be 'C RRGGBB name' or 'C transparent'" % (path, lineno))
        ch, value = parts[0], parts[1]
        if ch in palette:
            raise ArtError("%s:%d: colour %r defined twice" % (path, lineno, ch))
        if value == "transparent":
            palette[ch] = None
            continue
        try:
            rgb = tuple(int(value[i:i + 2], 16) for i in (0, 2, 4))
            if len(value) != 6:
                raise ValueError
        except ValueError:
            raise ArtError("%s:%d: bad colour %r" % (path, lineno, value))
        if rgb not in VGA16:
            raise ArtError("%s:%d: %s is not one of the 16 VGA colours" % (path, lineno, value))
        palette[ch] = VGA16.index(rgb)
    else:
        raise ArtError("%s: no 'pixels:' line" % path)

    pixels = []
    for y, row in enumerate(rows):
        out = []
        for x, ch in enumerate(row):
            if ch not in palette:
                raise ArtError("%s: pixel (%d,%d) is %r, which the palette does not define" % (path, x, y, ch))
            out.append(palette[ch])
        pixels.append(out)
    return w, h, pixels


def load_coverage(path):
    """Reads an ink-coverage grid: '.' is 0, digits 1-9 are tenths, '#' is full. Returns
    (width, height, rows of floats)."""
    lines = _read_lines(path)
    for n, line in enumerate(lines):
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        if not stripped.startswith("coverage:"):
            raise ArtError("%s:%d: unexpected line %r" % (path, n + 1, line))
        w, h = _parse_size(stripped[len("coverage:"):].strip(), path, n + 1)
        rows = _read_rows(lines, n + 1, w, h, path, n + 1)
        break
    else:
        raise ArtError("%s: no 'coverage:' line" % path)
    levels = {".": 0.0, "#": 1.0}
    for d in range(1, 10):
        levels[str(d)] = d / 10.0
    out = []
    for y, row in enumerate(rows):
        try:
            out.append([levels[ch] for ch in row])
        except KeyError:
            raise ArtError("%s: row %d has a character other than '.', 1-9 or '#'" % (path, y + 1))
    return w, h, out


# ---------------------------------------------------------------------------------------------
# .ico writing (4 bits a pixel, VGA colour table, AND mask for transparency)

def _icon_image(w, h, pixels):
    """One icon image as stored in a .ico: BITMAPINFOHEADER, colour table, XOR bitmap, AND mask.
    Both bitmaps run bottom-up with rows padded to four bytes; the header's height counts both."""
    xor_stride = ((w * 4 + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = pixels[y]
        xrow = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x, idx in enumerate(row):
            if idx is None:
                mrow[x >> 3] |= 0x80 >> (x & 7)
                idx = 0  # transparent pixels are black in the XOR image so the screen shows through
            if x & 1:
                xrow[x >> 1] |= idx
            else:
                xrow[x >> 1] |= idx << 4
        xor += xrow
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA16)
    return header + table + bytes(xor) + bytes(mask)


def make_ico(images):
    """images: list of (w, h, pixels). Returns the bytes of a .ico file holding them in that order."""
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    blobs = []
    for (w, h, pixels) in images:
        if not (1 <= w <= 256 and 1 <= h <= 256):
            raise ArtError("icon image %dx%d is out of range" % (w, h))
        blob = _icon_image(w, h, pixels)
        out += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def make_cur(w, h, pixels, hot_x, hot_y):
    """A .cur file with one image: the .ico layout with resource type 2 and the hot spot where
    an icon keeps its planes and bit count."""
    blob = _icon_image(w, h, pixels)
    out = bytearray(struct.pack("<HHH", 0, 2, 1))
    out += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, 16, 0, hot_x, hot_y, len(blob), 6 + 16)
    return bytes(out) + blob


# ---------------------------------------------------------------------------------------------
# Toolbar bitmaps (4 bits a pixel, VGA colour table)

def load_toolbar_grid(path):
    """Reads a toolbar button grid: like load_grid, but it must be TOOLBAR_SIZE square and every
    pixel must have a colour, since a .bmp has no mask."""
    w, h, pixels = load_grid(path)
    if (w, h) != (TOOLBAR_SIZE, TOOLBAR_SIZE):
        raise ArtError("%s: toolbar button is %dx%d, must be %dx%d" % (path, w, h, TOOLBAR_SIZE, TOOLBAR_SIZE))
    for y, row in enumerate(pixels):
        for x, idx in enumerate(row):
            if idx is None:
                raise ArtError("%s: pixel (%d,%d) is transparent; a toolbar bitmap needs a colour" % (path, x, y))
    return w, h, pixels


def make_bmp4(w, h, pixels):
    """pixels[y][x] = VGA index, top row first. Returns a bottom-up 4-bit .bmp file with the VGA
    colour table, rows padded to four bytes."""
    stride = ((w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x, idx in enumerate(pixels[y]):
            if not 0 <= idx < 16:
                raise ArtError("colour index %r out of range" % (idx,))
            if x & 1:
                row[x >> 1] |= idx
            else:
                row[x >> 1] |= idx << 4
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA16)
    offset = 14 + len(info) + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return file_header + info + table + bytes(data)


def toolbar_name(cmd_id):
    return "tb%d.bmp" % cmd_id


# ---------------------------------------------------------------------------------------------
# Splash bitmap (24 bits a pixel)

def make_bmp24(w, h, rgb):
    """rgb[y][x] = (r, g, b), top row first. Returns a bottom-up 24-bit .bmp file."""
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for (r, g, b) in rgb[y]:
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return file_header + info + bytes(data)


def _mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def _blend_coverage(canvas, cov, left, top, colour, strength=1.0):
    w, h, rows = cov
    for y in range(h):
        cy = top + y
        if not 0 <= cy < len(canvas):
            continue
        line = canvas[cy]
        for x in range(w):
            a = rows[y][x] * strength
            cx = left + x
            if a > 0 and 0 <= cx < len(line):
                line[cx] = _mix(line[cx], colour, a)


def _ink_box(cov):
    """Bounding box (x0, y0, x1, y1) of the ink in a coverage grid, x1/y1 exclusive."""
    w, h, rows = cov
    xs = [x for y in range(h) for x in range(w) if rows[y][x] > 0]
    ys = [y for y in range(h) if any(rows[y])]
    if not xs:
        return 0, 0, 0, 0
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def build_splash(emblem, title, caption):
    w, h = SPLASH_W, SPLASH_H
    top_col = (0x2C, 0x5A, 0x9C)
    bottom_col = (0x0C, 0x1E, 0x48)
    canvas = []
    for y in range(h):
        base = _mix(top_col, bottom_col, y / (h - 1))
        line = []
        for x in range(w):
            # A faint light band running down from the upper right keeps the field from looking flat.
            d = abs((x - w * 0.72) + (y - h * 0.5) * 0.9) / (w * 0.5)
            glow = max(0.0, 1.0 - d) ** 2 * 0.22
            line.append(_mix(base, (0x9C, 0xC4, 0xEC), glow))
        canvas.append(line)

    # Emblem, the large program icon at twice its size, with a soft shadow under it.
    ew, eh, epix = emblem
    scale = 2
    ex, ey = 22, (h - eh * scale) // 2
    for dy, strength in ((4, 0.35), (3, 0.25)):
        for y in range(eh * scale):
            for x in range(ew * scale):
                if epix[y // scale][x // scale] is not None:
                    cy, cx = ey + y + dy, ex + x + dy
                    if 0 <= cy < h and 0 <= cx < w:
                        canvas[cy][cx] = _mix(canvas[cy][cx], (0, 0, 0), strength)
    for y in range(eh * scale):
        for x in range(ew * scale):
            idx = epix[y // scale][x // scale]
            if idx is not None:
                canvas[ey + y][ex + x] = VGA16[idx]

    # Lettering: the name, a rule, and the Japanese caption under it, each with a drop shadow.
    text_left = ex + ew * scale + 20
    tx0, ty0, tx1, ty1 = _ink_box(title)
    cx0, cy0, cx1, cy1 = _ink_box(caption)
    gap = 14
    block = (ty1 - ty0) + gap + (cy1 - cy0)
    title_top = (h - block) // 2 - 2
    tl, tt = text_left - tx0, title_top - ty0
    _blend_coverage(canvas, title, tl + 2, tt + 2, (0x04, 0x0C, 0x24), 0.7)
    _blend_coverage(canvas, title, tl, tt, (0xFF, 0xFF, 0xFF))
    rule_y = title_top + (ty1 - ty0) + gap // 2
    rule_x1 = min(w - 16, text_left + max(tx1 - tx0, cx1 - cx0) + 8)
    for x in range(text_left, rule_x1):
        fade = 1.0 - (x - text_left) / float(rule_x1 - text_left)
        canvas[rule_y][x] = _mix(canvas[rule_y][x], (0xFF, 0xE0, 0x70), 0.85 * fade)
        canvas[rule_y + 1][x] = _mix(canvas[rule_y + 1][x], (0x04, 0x0C, 0x24), 0.5 * fade)
    cap_top = title_top + (ty1 - ty0) + gap
    cl, ct = text_left - cx0, cap_top - cy0
    _blend_coverage(canvas, caption, cl + 1, ct + 1, (0x04, 0x0C, 0x24), 0.7)
    _blend_coverage(canvas, caption, cl, ct, (0xFF, 0xE8, 0x8C))

    # A raised bevel round the edge, as a window's own frame would be drawn.
    for x in range(w):
        canvas[0][x] = (0xFF, 0xFF, 0xFF)
        canvas[1][x] = _mix(canvas[1][x], (0xFF, 0xFF, 0xFF), 0.45)
        canvas[h - 1][x] = (0x00, 0x00, 0x00)
        canvas[h - 2][x] = _mix(canvas[h - 2][x], (0x00, 0x00, 0x00), 0.45)
    for y in range(h):
        if y < h - 1:
            canvas[y][0] = (0xFF, 0xFF, 0xFF)
        if 1 <= y < h - 2:
            canvas[y][1] = _mix(canvas[y][1], (0xFF, 0xFF, 0xFF), 0.45)
        if y > 0:
            canvas[y][w - 1] = (0x00, 0x00, 0x00)
        if 1 <= y < h - 1:
            canvas[y][w - 2] = _mix(canvas[y][w - 2], (0x00, 0x00, 0x00), 0.45)
    return canvas


# ---------------------------------------------------------------------------------------------

def output_names():
    return ([name for name, _ in ICONS] + [c[0] for c in CURSORS] +
            [toolbar_name(i) for i, _ in TOOLBAR] + [SPLASH])


def build_all():
    """Returns {output file name: bytes}."""
    grids = {}

    def grid(name):
        if name not in grids:
            grids[name] = load_grid(os.path.join(HERE, "icons", name + ".txt"))
            w, h, _ = grids[name]
            expect = int(name.rsplit("_", 1)[1])
            if (w, h) != (expect, expect):
                raise ArtError("icons/%s.txt is %dx%d, its name says %dx%d" % (name, w, h, expect, expect))
        return grids[name]

    out = {}
    for fname, sources in ICONS:
        out[fname] = make_ico([grid(s) for s in sources])
    for fname, source, hot_x, hot_y in CURSORS:
        w, h, pixels = grid(source)
        out[fname] = make_cur(w, h, pixels, hot_x, hot_y)
    for cmd_id, source in TOOLBAR:
        w, h, pixels = load_toolbar_grid(os.path.join(HERE, "toolbar", source + ".txt"))
        out[toolbar_name(cmd_id)] = make_bmp4(w, h, pixels)
    title = load_coverage(os.path.join(HERE, "splash", "title.txt"))
    caption = load_coverage(os.path.join(HERE, "splash", "caption.txt"))
    canvas = build_splash(grid("app_32"), title, caption)
    out[SPLASH] = make_bmp24(SPLASH_W, SPLASH_H, canvas)
    return out


def main(argv):
    if len(argv) != 2 or argv[1] in ("-h", "--help"):
        sys.stderr.write("usage: %s OUTDIR | --list\n" % os.path.basename(argv[0]))
        return 2
    if argv[1] == "--list":
        for name in output_names():
            print(name)
        return 0
    outdir = argv[1]
    try:
        files = build_all()
    except (ArtError, OSError) as e:
        sys.stderr.write("make_art: %s\n" % e)
        return 1
    os.makedirs(outdir, exist_ok=True)
    for name, data in sorted(files.items()):
        path = os.path.join(outdir, name)
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
