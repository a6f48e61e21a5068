"""Checks of the help generator: the source parser, the HTML page, and the help file read back
through its own structures (header, directory, B+ trees, topic chain, context maps)."""

import os
import re
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import make_help  # noqa: E402
import winhelp  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))


class HelpReader:
    """Reads a help file back: the internal files, B+ tree leaves and the topic records."""

    def __init__(self, data):
        self.data = data
        magic, directory, free, size = struct.unpack_from("<IIiI", data, 0)
        assert magic == winhelp.MAGIC, hex(magic)
        assert size == len(data), (size, len(data))
        assert free == -1
        self.files = {}
        for key, value in self.btree_entries(self.internal(directory), "z4"):
            self.files[key.decode("ascii")] = value

    def internal(self, offset):
        reserved, used, _flag = struct.unpack_from("<IIB", self.data, offset)
        assert reserved == used + 9
        assert offset + reserved <= len(self.data)
        return self.data[offset + 9:offset + 9 + used]

    def file(self, name):
        return self.internal(self.files[name])

    @staticmethod
    def btree_entries(tree, structure):
        """Walks the leaves from the first one (found from the root down the leftmost
        children) along their next links."""
        magic, _flags, page_size, struct_text = struct.unpack_from("<HHH16s", tree, 0)
        assert magic == winhelp.BTREE_MAGIC
        assert struct_text.rstrip(b"\0").decode() == structure
        root, = struct.unpack_from("<h", tree, 26)
        levels, = struct.unpack_from("<h", tree, 32)
        total, = struct.unpack_from("<i", tree, 34)
        pages = tree[38:]
        page = root
        for _ in range(levels - 1):
            page, = struct.unpack_from("<h", pages, page * page_size + 4)
        out = []
        while page != -1:
            at = page * page_size
            _unused, n, _prev, nxt = struct.unpack_from("<Hhhh", pages, at)
            p = at + 8
            for _ in range(n):
                if structure == "z4":
                    end = pages.index(b"\0", p)
                    key = pages[p:end]
                    value, = struct.unpack_from("<I", pages, end + 1)
                    p = end + 5
                elif structure == "L4":
                    key, value = struct.unpack_from("<iI", pages, p)
                    p += 8
                else:  # "Lz"
                    key, = struct.unpack_from("<i", pages, p)
                    end = pages.index(b"\0", p + 4)
                    value = pages[p + 4:end]
                    p = end + 1
                out.append((key, value))
            page = nxt
        assert len(out) == total, (len(out), total)
        return out

    def topic_stream(self):
        """The |TOPIC data without block headers, and a function from TOPICPOS to offsets
        into it."""
        topic = self.file("|TOPIC")
        assert len(topic) % winhelp.TOPIC_BLOCK == 0
        stream = b"".join(topic[b + 12:b + winhelp.TOPIC_BLOCK]
                          for b in range(0, len(topic), winhelp.TOPIC_BLOCK))

        def at(pos):
            block, offset = pos >> 14, (pos & 0x3FFF) - 12
            assert 0 <= offset < winhelp.BLOCK_DATA, hex(pos)
            return block * winhelp.BLOCK_DATA + offset
        return topic, stream, at

    def records(self):
        """Every topic record along the NextBlock chain: (pos, type, data1, data2)."""
        _topic, stream, at = self.topic_stream()
        pos = 12
        out = []
        while pos != winhelp.NONE:
            p = at(pos)
            size, len2, _prev, nxt, len1 = struct.unpack_from("<IIIII", stream, p)
            kind = stream[p + 20]
            data1 = stream[p + 21:p + len1]
            data2 = stream[p + len1:p + size]
            assert len(data2) == len2
            out.append((pos, kind, data1, data2))
            pos = nxt
        return out

    def topics(self):
        """(TOPICOFFSET, title, text of its paragraphs) of every topic."""
        out = []
        for pos, kind, data1, data2 in self.records():
            if kind == winhelp.RECORD_TOPIC_HEADER:
                out.append([(pos >> 14) << 15, data2, b""])
            elif kind == winhelp.RECORD_DISPLAY:
                out[-1][2] += data2.replace(b"\0", b"") + b"\n"
        return out


SAMPLE = """\
@title テスト
@copyright (C) test
== top | 目次
最初の段落。
続きの行。

- [[コピー|184]]
- [[キー|keys]]
一覧のあとの段落。
== 184 | コピー
表示・ソフト・能力（0x5C を含む文字）。
! 見出し
本文。[[目次|top]]
== keys | キー
説明。
"""


class ParseTest(unittest.TestCase):
    def test_blocks_of_a_topic(self):
        src = make_help.parse(SAMPLE)
        self.assertEqual([t.context for t in src.topics], ["top", "184", "keys"])
        self.assertEqual([t.number for t in src.topics], [None, 184, None])
        top = src.topics[0]
        self.assertEqual([(b.kind, b.text) for b in top.blocks],
                         [("text", "最初の段落。"), ("text", "続きの行。"),
                          ("item", "[[コピー|184]]"), ("item", "[[キー|keys]]"),
                          ("text", "一覧のあとの段落。")])
        self.assertEqual(src.topics[1].blocks[2].runs(),
                         [("text", "本文。"), ("jump", "目次", "top")])

    def test_source_errors(self):
        cases = [
            ("@title t\n== TOP | x\n", "bad context"),
            ("@title t\n== toolong | x\n", "bad context"),
            ("@title t\n== a | x\n== a | y\n", "used twice"),
            ("@title t\n== a\n", "CONTEXT | TITLE"),
            ("@title t\ntext\n", "before the first topic"),
            ("@title t\n== a | x\n[[b|nowhere]]\n", "unknown topic"),
            ("@title t\n== a | x\n[[b|a\n", "unfinished jump"),
            ("== a | x\n", "no @title"),
            ("@title t\n== a | x\n\u2603\n", "code page 932"),
            ("@bogus x\n", "unknown setting"),
        ]
        for text, message in cases:
            with self.subTest(text=text):
                with self.assertRaisesRegex(make_help.SourceError, message):
                    make_help.parse(text)


class HashTest(unittest.TestCase):
    def test_values(self):
        # Letters 17..42 without regard to case, 1..9, 0 as 10, "." 12, "_" 13, others none.
        cases = [("", 0), ("a", 17), ("Z", 42), ("ab", 17 * 43 + 18), ("AB", 17 * 43 + 18),
                 ("1", 1), ("0", 10), ("._", 12 * 43 + 13), ("a-b", 17 * 43 + 18),
                 ("184", (1 * 43 + 8) * 43 + 4)]
        for name, value in cases:
            with self.subTest(name=name):
                self.assertEqual(winhelp.context_hash(name), value)

    def test_wraps_to_signed_32_bits(self):
        h = winhelp.context_hash("abcdefghij")
        self.assertTrue(-2 ** 31 <= h < 2 ** 31)
        full = 0
        for c in "abcdefghij":
            full = full * 43 + ord(c) - ord("a") + 17
        self.assertEqual(h & 0xFFFFFFFF, full & 0xFFFFFFFF)


class BtreeTest(unittest.TestCase):
    def test_many_entries_make_an_index_level_and_read_back_in_order(self):
        entries = [(winhelp.long_key(k), winhelp.long_key(k) + struct.pack("<I", k * 7))
                   for k in range(0, 3000, 3)]
        tree = winhelp.btree(entries, "L4", page_size=256)
        levels, = struct.unpack_from("<h", tree, 32)
        self.assertGreaterEqual(levels, 2)
        got = HelpReader.btree_entries(tree, "L4")
        self.assertEqual(got, [(k, k * 7) for k in range(0, 3000, 3)])

    def test_index_pages_lead_to_the_page_holding_a_key(self):
        entries = [(winhelp.long_key(k), winhelp.long_key(k) + struct.pack("<I", k))
                   for k in range(500)]
        tree = winhelp.btree(entries, "L4", page_size=128)
        page_size, = struct.unpack_from("<H", tree, 4)
        root, = struct.unpack_from("<h", tree, 26)
        levels, = struct.unpack_from("<h", tree, 32)
        pages = tree[38:]
        for key in (0, 1, 57, 250, 499):
            page = root
            for _ in range(levels - 1):
                at = page * page_size
                n, = struct.unpack_from("<h", pages, at + 2)
                page, = struct.unpack_from("<h", pages, at + 4)
                for i in range(n):
                    k, child = struct.unpack_from("<ih", pages, at + 6 + 6 * i)
                    if k > key:
                        break
                    page = child
            at = page * page_size
            n, = struct.unpack_from("<h", pages, at + 2)
            keys = [struct.unpack_from("<i", pages, at + 8 + 8 * i)[0] for i in range(n)]
            self.assertIn(key, keys)


class HelpFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.src = make_help.parse(SAMPLE)
        cls.reader = HelpReader(make_help.to_winhelp(cls.src))

    def test_directory_names_the_internal_files(self):
        self.assertEqual(sorted(self.reader.files),
                         ["|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC", "|TTLBTREE"])

    def test_system_has_title_and_contents_topic(self):
        system = self.reader.file("|SYSTEM")
        magic, minor, major, _date, flags = struct.unpack_from("<HHHiH", system, 0)
        self.assertEqual((magic, minor, major, flags), (0x036C, 21, 1, 0))
        records = {}
        p = 12
        while p < len(system):
            kind, size = struct.unpack_from("<HH", system, p)
            records[kind] = system[p + 4:p + 4 + size]
            p += 4 + size
        self.assertEqual(p, len(system))
        self.assertEqual(records[1], "テスト".encode("cp932") + b"\0")
        self.assertEqual(struct.unpack("<I", records[3])[0], self.reader.topics()[0][0])
        self.assertEqual(records[11][0], 128)

    def test_topics_in_order_with_titles_and_text(self):
        topics = self.reader.topics()
        self.assertEqual([t[1].decode("cp932") for t in topics], ["目次", "コピー", "キー"])
        self.assertIn("表示・ソフト・能力".encode("cp932"), topics[1][2])
        # Each topic starts a block of its own.
        self.assertEqual([t[0] for t in topics], [0, 1 << 15, 2 << 15])

    def test_context_numbers_and_strings_find_their_topics(self):
        offsets = {t[1].decode("cp932"): t[0] for t in self.reader.topics()}
        ctxomap = self.reader.file("|CTXOMAP")
        n, = struct.unpack_from("<H", ctxomap, 0)
        pairs = [struct.unpack_from("<iI", ctxomap, 2 + 8 * i) for i in range(n)]
        self.assertEqual(pairs, [(184, offsets["コピー"])])
        context = dict(HelpReader.btree_entries(self.reader.file("|CONTEXT"), "L4"))
        for name, title in (("top", "目次"), ("184", "コピー"), ("keys", "キー")):
            self.assertEqual(context[winhelp.context_hash(name)], offsets[title])
        titles = HelpReader.btree_entries(self.reader.file("|TTLBTREE"), "Lz")
        self.assertEqual([(k, v.decode("cp932")) for k, v in titles],
                         sorted((o, t) for t, o in offsets.items()))

    def test_topic_headers_chain_to_the_next_topic(self):
        records = self.reader.records()
        headers = [(pos, d1) for pos, kind, d1, _ in records if kind == 2]
        for i, (pos, d1) in enumerate(headers):
            _size, _back, _fwd, number, nonscroll, scroll, nxt = struct.unpack("<IIIIIII", d1)
            self.assertEqual(number, i)
            self.assertEqual(nonscroll, winhelp.NONE)
            following = [p for p, _, _, _ in records if p > pos]
            self.assertEqual(scroll, following[0])
            self.assertEqual(nxt, headers[i + 1][0] if i + 1 < len(headers) else winhelp.NONE)

    def test_jump_hotspots_carry_the_target_hash(self):
        # The title, the two paragraphs, then the first item.
        top = [r for r in self.reader.records() if r[1] == winhelp.RECORD_DISPLAY][3]
        self.assertIn(struct.pack("<Bi", winhelp.FMT_JUMP, winhelp.context_hash("184")), top[2])
        self.assertEqual(top[3].split(b"\0")[:3], [b"", "・".encode("cp932"),
                                                   "コピー".encode("cp932")])

    def test_font_table(self):
        font = self.reader.file("|FONT")
        faces, descriptors, face_at, desc_at = struct.unpack_from("<HHHH", font, 0)
        self.assertEqual((faces, face_at), (1, 8))
        self.assertEqual(len(font), desc_at + 11 * descriptors)
        self.assertEqual(font[8:8 + 20].rstrip(b"\0"), "ＭＳ ゴシック".encode("cp932"))


class LongTopicTest(unittest.TestCase):
    def test_records_run_on_across_blocks_and_the_next_topic_starts_a_new_block(self):
        long_text = "長い本文です。" * 40
        text = "@title t\n== top | a\n" + "\n\n".join([long_text] * 12) + "\n== b | b\nend\n"
        reader = HelpReader(make_help.to_winhelp(make_help.parse(text)))
        topics = reader.topics()
        self.assertEqual(topics[0][2].count(long_text.encode("cp932")), 12)
        self.assertGreater(topics[1][0] >> 15, 1)
        self.assertEqual(topics[1][2], b"b\nend\n")
        topic, _stream, _at = reader.topic_stream()
        # Each block's header names the first record that starts in it.
        starts = {pos >> 14: pos for pos, _, _, _ in reversed(reader.records())}
        for b in range(len(topic) // winhelp.TOPIC_BLOCK):
            first = struct.unpack_from("<I", topic, b * winhelp.TOPIC_BLOCK + 4)[0]
            self.assertEqual(first, starts.get(b, winhelp.NONE))


class ShippedHelpTest(unittest.TestCase):
    """The program's own help against the program's command table and menus."""

    @classmethod
    def setUpClass(cls):
        with open(os.path.join(HERE, "sorm32_help.txt"), encoding="utf-8") as f:
            cls.src = make_help.parse(f.read())
        with open(os.path.join(ROOT, "resources", "commands.h"), encoding="utf-8") as f:
            cls.commands = {name: int(v) for name, v in
                            re.findall(r"#define (CMD_\w+) (\d+)", f.read())}
        with open(os.path.join(ROOT, "resources", "sorm32.rc"), encoding="utf-8") as f:
            cls.captions = {name: text for text, name in
                            re.findall(r'MENUITEM "([^"]+)", (CMD_\w+)', f.read())}

    def test_every_command_has_its_topic_and_only_commands_have_numbers(self):
        numbers = {t.number for t in self.src.topics if t.number is not None}
        self.assertEqual(numbers, set(self.commands.values()))

    def test_each_command_topic_names_its_menu_item(self):
        for name, number in self.commands.items():
            caption = re.sub(r"\(&.\)|\.\.\.$", "", self.captions[name])
            topic = self.src.topic(str(number))
            text = "".join(b.text for b in topic.blocks)
            with self.subTest(command=name):
                self.assertIn(caption, text)

    def test_reference_topics_and_contents_reach_every_topic(self):
        for context in ("keys", "cfg", "mask", "drop", "assoc", "cmdl"):
            self.assertIsNotNone(self.src.topic(context), context)
        linked = {run[2] for b in self.src.topics[0].blocks for run in b.runs()
                  if run[0] == "jump"}
        self.assertEqual(linked, {t.context for t in self.src.topics[1:]})

    def test_outputs_are_written_and_the_page_has_one_anchor_a_topic(self):
        with tempfile.TemporaryDirectory() as out:
            make_help.build(os.path.join(HERE, "sorm32_help.txt"), out)
            self.assertEqual(sorted(os.listdir(out)), ["sorm32.hlp", "sorm32.htm"])
            with open(os.path.join(out, "sorm32.hlp"), "rb") as f:
                reader = HelpReader(f.read())
            with open(os.path.join(out, "sorm32.htm"), "rb") as f:
                page = f.read().decode("cp932")
        titles = [t[1].decode("cp932") for t in reader.topics()]
        self.assertEqual(titles, [t.title for t in self.src.topics])
        ids = re.findall(r'<section id="([^"]+)">', page)
        self.assertEqual(ids, [t.context for t in self.src.topics])
        for target in re.findall(r'href="#([^"]+)"', page):
            self.assertIn(target, ids)
        self.assertIn('<meta charset="Shift_JIS">', page)


if __name__ == "__main__":
    unittest.main()
