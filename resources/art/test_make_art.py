#!/usr/bin/env python3
"""Checks the pictures make_art.py writes: the .ico and .bmp layouts are read back independently
of the writer and the pixels compared with the text sources.

    python3 -m unittest discover -s resources/art -p 'test_*.py'
"""

import itertools
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder free of caches
sys.path.insert(0, HERE)
import make_art  # noqa: E402

EXPECTED_ICONS = {
    # resource id: (source grids in the order stored, the first is the named size)
    1001: ("app_32", "app_16"),
    1002: ("folder_32", "folder_16"),
    1003: ("program_32", "program_16"),
    1004: ("document_32", "document_16"),
    1005: ("link_32", "link_16"),
    1006: ("folder_16", "folder_32"),
    1007: ("program_16", "program_32"),
    1008: ("document_16", "document_32"),
    1009: ("link_16", "link_32"),
    1010: ("app_16", "app_32"),
}

# Toolbar buttons: command id -> source grid in toolbar/. The ids are the commands' own numbers.
EXPECTED_CURSORS = {
    24000: "helpcursor_32",
    24001: "dragmove_32", 24002: "dragcopy_32", 24003: "dragmovemany_32", 24004: "dragcopymany_32",
    24005: "dragnodrop_32", 24006: "draglinkmany_32", 24007: "draglink_32",
}

EXPECTED_TOOLBAR = {
    24332: "fopen", 182: "fmove", 184: "fcopy", 180: "fdelete", 178: "fduplicate", 118: "fproperty",
    176: "fmakedir", 160: "flink_ext", 150: "flink_name", 158: "flink_full", 154: "fmarkall",
    152: "funmarkall", 136: "fwinopen", 24310: "fexit", 144: "fquit", 132: "dkeyin", 122: "dnetadd",
    120: "dnetcancel", 146: "mkeyin", 114: "vicon", 112: "vlist", 174: "vsname", 172: "vsext",
    170: "vsnew", 168: "vsold", 166: "vslarge", 164: "vssmall", 148: "rkeyin", 140: "rregist",
    102: "vcolor", 130: "vfont", 128: "vbar", 126: "vdata", 124: "osavedefault", 190: "bedit",
    186: "medit", 188: "redit", 2001: "hcontents",
}
FACE = (0xC0, 0xC0, 0xC0)
WHITE = (0xFF, 0xFF, 0xFF)


def read_ico(data):
    """Decodes a .ico holding uncompressed 4-bit images: [(w, h, palette, pixels)] where pixels[y][x]
    is an (r, g, b) tuple or None where the AND mask makes it transparent."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind == 1, "not an icon directory"
    images = []
    spans = []
    for i in range(count):
        w, h, colours, res, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        assert res == 0, "directory entry reserved byte"
        assert offset >= 6 + 16 * count and offset + size <= len(data), "image outside the file"
        spans.append((offset, offset + size))
        (hsize, bw, bh, bplanes, bbpp, comp, img_size, _, _, clr_used, _) = struct.unpack_from(
            "<IiiHHIIiiII", data, offset)
        assert hsize == 40, "BITMAPINFOHEADER size"
        assert (bw, bh) == (w, 2 * h), "header size %dx%d for a %dx%d entry" % (bw, bh, w, h)
        assert bplanes == 1 and comp == 0
        assert bbpp == bpp == 4 and colours == 16 and planes == 1
        ncol = clr_used or 16
        table = data[offset + 40: offset + 40 + 4 * ncol]
        palette = [(table[4 * k + 2], table[4 * k + 1], table[4 * k]) for k in range(ncol)]
        xor_stride = ((w * 4 + 31) // 32) * 4
        and_stride = ((w + 31) // 32) * 4
        xor_at = offset + 40 + 4 * ncol
        and_at = xor_at + xor_stride * h
        assert and_at + and_stride * h == offset + size, "entry size does not match the bitmaps"
        assert img_size in (0, xor_stride * h + and_stride * h)
        pixels = []
        for y in range(h):
            src = h - 1 - y  # bottom-up
            row = []
            for x in range(w):
                byte = data[xor_at + src * xor_stride + x // 2]
                idx = (byte >> 4) if x % 2 == 0 else (byte & 15)
                masked = data[and_at + src * and_stride + x // 8] & (0x80 >> (x % 8))
                if masked:
                    assert idx == 0, "transparent pixel (%d,%d) is not black in the XOR image" % (x, y)
                    row.append(None)
                else:
                    row.append(palette[idx])
            pixels.append(row)
        images.append((w, h, palette, pixels))
    spans.sort()
    for (a0, a1), (b0, b1) in zip(spans, spans[1:]):
        assert a1 <= b0, "images overlap"
    return images


def read_bmp24(data):
    magic, fsize, _, _, off = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM" and fsize == len(data)
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    assert hsize == 40 and planes == 1 and bpp == 24 and comp == 0 and h > 0
    stride = (w * 3 + 3) & ~3
    assert off + stride * h == len(data)
    rows = []
    for y in range(h):
        at = off + (h - 1 - y) * stride
        rows.append([(data[at + 3 * x + 2], data[at + 3 * x + 1], data[at + 3 * x]) for x in range(w)])
    return w, h, rows


def read_bmp4(data):
    """Decodes an uncompressed 4-bit .bmp: (w, h, palette, pixels) with pixels[y][x] an (r, g, b)
    tuple, top row first."""
    magic, fsize, r1, r2, off = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM" and fsize == len(data) and r1 == r2 == 0
    hsize, w, h, planes, bpp, comp, img_size, _, _, clr_used, clr_important = struct.unpack_from(
        "<IiiHHIIiiII", data, 14)
    assert hsize == 40 and planes == 1 and comp == 0 and w > 0 and h > 0, "not a plain bottom-up DIB"
    assert bpp == 4, "%d bits a pixel" % bpp
    ncol = clr_used or 16
    assert ncol <= 16 and clr_important <= ncol
    table = data[14 + 40: 14 + 40 + 4 * ncol]
    palette = [(table[4 * k + 2], table[4 * k + 1], table[4 * k]) for k in range(ncol)]
    assert off == 14 + 40 + 4 * ncol, "pixels do not follow the colour table"
    stride = ((w * 4 + 31) // 32) * 4
    assert off + stride * h == len(data), "file size does not match the rows"
    assert img_size in (0, stride * h)
    pixels = []
    for y in range(h):
        at = off + (h - 1 - y) * stride
        row = []
        for x in range(w):
            byte = data[at + x // 2]
            row.append(palette[(byte >> 4) if x % 2 == 0 else (byte & 15)])
        pixels.append(row)
    return w, h, palette, pixels


def grid_rgb(name, folder="icons"):
    w, h, pix = make_art.load_grid(os.path.join(HERE, folder, name + ".txt"))
    return w, h, [[None if i is None else make_art.VGA16[i] for i in row] for row in pix]


class GeneratedFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        script = os.path.join(HERE, "make_art.py")
        subprocess.run([sys.executable, script, cls.tmp.name], check=True)
        cls.out = cls.tmp.name

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def read(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def test_writes_exactly_the_listed_files(self):
        listed = subprocess.run([sys.executable, os.path.join(HERE, "make_art.py"), "--list"], check=True,
                                stdout=subprocess.PIPE, universal_newlines=True).stdout.split()
        self.assertEqual(sorted(os.listdir(self.out)), sorted(listed))
        self.assertEqual(sorted(listed), sorted(["icon%d.ico" % i for i in EXPECTED_ICONS] + ["splash500.bmp"] +
                                                ["tb%d.bmp" % i for i in EXPECTED_TOOLBAR] +
                                                ["cursor%d.cur" % i for i in EXPECTED_CURSORS]))

    def test_cursors_are_cursors_with_their_hot_spot_and_pictures(self):
        for rid, source in EXPECTED_CURSORS.items():
            with self.subTest(cursor=rid):
                data = self.read("cursor%d.cur" % rid)
                reserved, kind, count = struct.unpack_from("<HHH", data, 0)
                self.assertEqual((reserved, kind, count), (0, 2, 1))
                w, h, _, _, hot_x, hot_y, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
                self.assertEqual((w, h, hot_x, hot_y), (32, 32, 0, 0))
                self.assertEqual(offset + size, len(data))
                # Read as an icon (same image layout once the directory says planes 1, 4 bits a
                # pixel).
                as_icon = (data[:2] + struct.pack("<H", 1) + data[4:10] + struct.pack("<HH", 1, 4) +
                           data[14:])
                images = read_ico(as_icon)
                _, _, grid = make_art.load_grid(os.path.join(HERE, "icons", source + ".txt"))
                expected = [[None if i is None else make_art.VGA16[i] for i in row] for row in grid]
                self.assertEqual(images[0][3], expected)
                # The tip of the arrow is drawn: the hot spot points at a pixel.
                self.assertIsNotNone(images[0][3][0][0])

    def test_drag_cursors_differ(self):
        pictures = [self.read("cursor%d.cur" % rid) for rid in range(24001, 24008)]
        self.assertEqual(len(set(pictures)), len(pictures))

    def test_icons_match_their_sources(self):
        for rid, sources in EXPECTED_ICONS.items():
            with self.subTest(icon=rid):
                images = read_ico(self.read("icon%d.ico" % rid))
                self.assertEqual(len(images), len(sources))
                for (w, h, palette, pixels), src in zip(images, sources):
                    self.assertEqual(palette, make_art.VGA16)
                    sw, sh, spix = grid_rgb(src)
                    self.assertEqual((w, h), (sw, sh))
                    self.assertEqual(pixels, spix, "icon%d.ico differs from icons/%s.txt" % (rid, src))

    def test_named_size_comes_first(self):
        for rid, sources in EXPECTED_ICONS.items():
            with self.subTest(icon=rid):
                first = read_ico(self.read("icon%d.ico" % rid))[0]
                self.assertEqual(first[0], 32 if rid <= 1005 else 16)

    def test_icons_are_opaque_where_drawn_and_link_overlay_is_mostly_clear(self):
        for rid in EXPECTED_ICONS:
            for (w, h, _, pixels) in read_ico(self.read("icon%d.ico" % rid)):
                clear = sum(p is None for row in pixels for p in row) / float(w * h)
                with self.subTest(icon=rid, size=w):
                    if rid in (1005, 1009):
                        self.assertGreater(clear, 0.6)
                        # The box sits in the bottom left corner: nothing near the top or the right.
                        self.assertTrue(all(p is None for row in pixels[:h * 3 // 8] for p in row))
                        self.assertTrue(all(p is None for row in pixels for p in row[w * 5 // 8:]))
                        self.assertIsNotNone(pixels[h - 1][0])
                    else:
                        self.assertLess(clear, 0.6)
                        self.assertGreater(clear, 0.0)

    def test_splash(self):
        w, h, rows = read_bmp24(self.read("splash500.bmp"))
        self.assertEqual((w, h), (320, 120))
        # The emblem is the large program icon at twice its size, somewhere on the left.
        ew, eh, epix = grid_rgb("app_32")
        found = None
        for top in range(0, h - 2 * eh + 1):
            for left in range(0, w // 2):
                if all(rows[top + 2 * y + dy][left + 2 * x + dx] == epix[y][x]
                       for y in (3, 10, 14, 26) for x in range(ew) if epix[y][x] is not None
                       for dy in (0, 1) for dx in (0, 1)):
                    found = (left, top)
                    break
            if found:
                break
        self.assertIsNotNone(found, "emblem not found")
        # White lettering to the right of the emblem, and yellowish caption lettering below it.
        right = [rows[y][x] for y in range(h) for x in range(found[0] + 2 * ew, w - 4)]
        self.assertGreater(sum(p == (255, 255, 255) for p in right), 300)
        self.assertGreater(sum(p[0] > 200 and p[1] > 200 and p[2] < 160 for p in right), 60)

    def toolbar(self):
        """{command id: (w, h, palette, pixels)} for every toolbar bitmap written."""
        return {cid: read_bmp4(self.read("tb%d.bmp" % cid)) for cid in EXPECTED_TOOLBAR}

    def test_toolbar_bitmaps_match_their_sources(self):
        for cid, (w, h, palette, pixels) in self.toolbar().items():
            with self.subTest(button=cid):
                self.assertEqual((w, h), (20, 20))
                self.assertEqual(palette, make_art.VGA16)
                sw, sh, spix = grid_rgb(EXPECTED_TOOLBAR[cid], "toolbar")
                self.assertEqual((sw, sh), (20, 20))
                self.assertEqual(pixels, spix, "tb%d.bmp differs from toolbar/%s.txt" % (cid, EXPECTED_TOOLBAR[cid]))

    def test_toolbar_sits_on_the_button_face(self):
        # A one-pixel ring of button face all round, so no picture runs into the button's edge.
        for cid, (w, h, _, pixels) in self.toolbar().items():
            with self.subTest(button=cid):
                ring = pixels[0] + pixels[h - 1] + [row[0] for row in pixels] + [row[w - 1] for row in pixels]
                self.assertEqual(set(ring), {FACE})

    def test_toolbar_pictures_differ(self):
        # No two buttons alike: each pair differs in a good number of pixels.
        bitmaps = self.toolbar()
        for a, b in itertools.combinations(sorted(bitmaps), 2):
            pa, pb = bitmaps[a][3], bitmaps[b][3]
            differing = sum(pa[y][x] != pb[y][x] for y in range(20) for x in range(20))
            with self.subTest(pair=(a, b)):
                self.assertGreaterEqual(differing, 20)

    def test_toolbar_keeps_a_shape_when_greyed(self):
        # A disabled button is drawn from the pixels that are neither face nor white, all in one grey:
        # the picture needs enough of them, with gaps of white or face inside so it is not a blot.
        for cid, (w, h, _, pixels) in self.toolbar().items():
            with self.subTest(button=cid):
                ink = [(x, y) for y in range(h) for x in range(w) if pixels[y][x] not in (FACE, WHITE)]
                self.assertGreaterEqual(len(ink), 40)
                xs = [x for x, _ in ink]
                ys = [y for _, y in ink]
                box = (max(xs) - min(xs) + 1) * (max(ys) - min(ys) + 1)
                self.assertGreaterEqual(1.0 - len(ink) / float(box), 0.15)
                self.assertIn((0, 0, 0), {pixels[y][x] for x, y in ink}, "no black outline")


class ToolbarTable(unittest.TestCase):
    def test_table_is_the_expected_one(self):
        self.assertEqual(len(make_art.TOOLBAR), len(EXPECTED_TOOLBAR))
        self.assertEqual(dict(make_art.TOOLBAR), EXPECTED_TOOLBAR)
        self.assertEqual(len({kw for _, kw in make_art.TOOLBAR}), len(make_art.TOOLBAR))

    def test_every_grid_is_used(self):
        names = sorted(f[:-4] for f in os.listdir(os.path.join(HERE, "toolbar")) if f.endswith(".txt"))
        self.assertEqual(names, sorted(EXPECTED_TOOLBAR.values()))

    def test_ids_are_the_command_numbers(self):
        # The bitmaps are named after the commands they stand for.
        with open(os.path.join(HERE, "..", "commands.h"), encoding="utf-8") as f:
            defines = dict((name, int(value)) for name, value in
                           re.findall(r"^#define CMD_(\w+) (\d+)$", f.read(), re.M))
        for cid, kw in EXPECTED_TOOLBAR.items():
            with self.subTest(keyword=kw):
                self.assertEqual(defines.get(kw.upper()), cid)


class Determinism(unittest.TestCase):
    def test_same_bytes_twice(self):
        self.assertEqual(make_art.build_all(), make_art.build_all())


class BadSources(unittest.TestCase):
    HEAD = "# test\npalette:\n  .  transparent\n  K  000000  black\n  W  FFFFFF  white\n"

    CASES = [
        ("row too short", HEAD + "pixels: 2x2\nKK\nK\n", "wide"),
        ("too few rows", HEAD + "pixels: 2x2\nKK\n", "rows"),
        ("unknown colour letter", HEAD + "pixels: 2x2\nKK\nKZ\n", "palette does not define"),
        ("colour not in VGA set", "palette:\n  X  123456  odd\npixels: 1x1\nX\n", "VGA"),
        ("letter defined twice", "palette:\n  K  000000  a\n  K  FFFFFF  b\npixels: 1x1\nK\n", "twice"),
        ("no pixels line", HEAD, "pixels"),
        ("junk after grid", HEAD + "pixels: 1x1\nK\nKK\n", "after"),
        ("bad size", HEAD + "pixels: 2by2\nKK\nKK\n", "WxH"),
    ]

    def test_rejected_with_a_reason(self):
        for label, text, reason in self.CASES:
            with self.subTest(case=label):
                with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
                    f.write(text)
                try:
                    with self.assertRaises(make_art.ArtError) as cm:
                        make_art.load_grid(f.name)
                    self.assertIn(reason, str(cm.exception))
                finally:
                    os.unlink(f.name)

    def test_good_grid_reads_back(self):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write(self.HEAD + "pixels: 3x2\nK.W\nWWK\n")
        try:
            self.assertEqual(make_art.load_grid(f.name), (3, 2, [[0, None, 15], [15, 15, 0]]))
        finally:
            os.unlink(f.name)

    def test_toolbar_grid_must_be_20_square(self):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write(self.HEAD + "pixels: 2x2\nKK\nKW\n")
        try:
            with self.assertRaises(make_art.ArtError) as cm:
                make_art.load_toolbar_grid(f.name)
            self.assertIn("20x20", str(cm.exception))
        finally:
            os.unlink(f.name)

    def test_toolbar_grid_has_no_transparency(self):
        rows = ["K" * 20] * 19 + ["K" * 7 + "." + "K" * 12]
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write(self.HEAD + "pixels: 20x20\n" + "\n".join(rows) + "\n")
        try:
            with self.assertRaises(make_art.ArtError) as cm:
                make_art.load_toolbar_grid(f.name)
            self.assertIn("(7,19)", str(cm.exception))
            self.assertIn("transparent", str(cm.exception))
        finally:
            os.unlink(f.name)

    def test_odd_width_bmp4_packs_nibbles_bottom_up(self):
        # 3x2: rows of two bytes pad out to four, and the bottom row is stored first.
        pix = [[0, 7, 15], [9, 12, 1]]
        data = make_art.make_bmp4(3, 2, pix)
        self.assertEqual(data[-8:], bytes([0x9C, 0x10, 0, 0, 0x07, 0xF0, 0, 0]))
        w, h, palette, back = read_bmp4(data)
        V = make_art.VGA16
        self.assertEqual((w, h, palette), (3, 2, V))
        self.assertEqual(back, [[V[0], V[7], V[15]], [V[9], V[12], V[1]]])

    def test_odd_width_icon_packs_nibbles_and_mask(self):
        # 3x2, so every row pads out to four bytes in both bitmaps.
        pix = [[0, None, 15], [9, 12, None]]
        (w, h, _, back), = read_ico(make_art.make_ico([(3, 2, pix)]))
        V = make_art.VGA16
        self.assertEqual(back, [[V[0], None, V[15]], [V[9], V[12], None]])


if __name__ == "__main__":
    unittest.main()
