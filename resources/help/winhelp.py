"""Writes a help file in the WinHelp 3.1 format (the viewer of Windows 3.1 to XP reads it).

The file is a small file system: a 16-byte header, internal files each behind a 9-byte file
header, and a directory B+ tree naming them. This writer produces these internal files:

  |SYSTEM    title, copyright, contents topic and character set
  |FONT      face names and font descriptors used by the paragraphs
  |TOPIC     topic headers and paragraphs, uncompressed, in 4 KB blocks
  |CONTEXT   B+ tree: hash of a context string -> topic offset (jumps)
  |CTXOMAP   context number -> topic offset (WinHelp's HELP_CONTEXT)
  |TTLBTREE  B+ tree: topic offset -> topic title

Two kinds of positions are used inside |TOPIC:
  TOPICPOS     (block << 14) + 12 + byte offset into the block's data (the 12 being the block
               header), for links between topic records;
  TOPICOFFSET  (block << 15) + characters since the first record that starts in the block,
               for addressing topics from the other files. Every topic starts on a fresh block,
               so a topic's offset is always block << 15.
Text is passed in as bytes in the help file's code page (here CP932).
"""

import struct

MAGIC = 0x00035F3F
BTREE_MAGIC = 0x293B
SYSTEM_MAGIC = 0x036C
SYSTEM_MINOR_31 = 21  # the 3.1 compiler's version: uncompressed, 4 KB topic blocks
TOPIC_BLOCK = 4096
BLOCK_HEADER = 12
BLOCK_DATA = TOPIC_BLOCK - BLOCK_HEADER
NONE = 0xFFFFFFFF

# Topic record types.
RECORD_TOPIC_HEADER = 0x02
RECORD_DISPLAY = 0x20

# |SYSTEM record types.
SYS_TITLE = 1
SYS_COPYRIGHT = 2
SYS_CONTENTS = 3
SYS_CHARSET = 11

SHIFTJIS_CHARSET = 128

# Paragraph formatting commands (one follows each NUL-ended string of a paragraph's text).
FMT_FONT = 0x80
FMT_LINE_BREAK = 0x81
FMT_END_PARAGRAPH = 0x82
FMT_END_HOTSPOT = 0x89
FMT_JUMP = 0xE3
FMT_END = 0xFF

# Font descriptor attributes and families.
FONT_BOLD = 0x01
FAMILY_SWISS = 3


class HelpFormatError(ValueError):
    pass


def context_hash(name):
    """The hash WinHelp looks a context string up by, as a signed 32-bit value.

    Letters count without regard to case (A..Z as 17..42), 1..9 as 1..9, 0 as 10, "." as 12,
    "_" as 13; other characters add nothing. hash = hash * 43 + value, in 32 bits.
    """
    h = 0
    for ch in name:
        c = ch.upper()
        if "A" <= c <= "Z":
            v = ord(c) - ord("A") + 17
        elif "1" <= c <= "9":
            v = ord(c) - ord("0")
        elif c == "0":
            v = 10
        elif c == ".":
            v = 12
        elif c == "_":
            v = 13
        else:
            continue
        h = (h * 43 + v) & 0xFFFFFFFF
    return h - 0x100000000 if h & 0x80000000 else h


def internal_file(data):
    """An internal file: its reserved size (header included), its used size, a flag byte."""
    return struct.pack("<IIB", len(data) + 9, len(data), 4) + data


# -- B+ trees -------------------------------------------------------------------------------


def btree(entries, structure, page_size=2048, directory=False):
    """A B+ tree of (key bytes, leaf entry bytes) pairs, already sorted by key.

    Leaf pages: unused bytes, entry count, previous and next leaf (-1 at the ends), entries.
    Index pages: unused bytes, entry count, the leftmost child, then (key, child) pairs where
    each child holds the keys from its key on.
    """
    if len(structure) > 15:
        raise HelpFormatError("structure text too long")
    leaves = []
    current = []
    used = 8
    for key, entry in entries:
        if len(entry) > page_size - 8:
            raise HelpFormatError("B+ tree entry larger than a page")
        if current and used + len(entry) > page_size:
            leaves.append(current)
            current, used = [], 8
        current.append((key, entry))
        used += len(entry)
    leaves.append(current)

    pages = []
    for i, leaf in enumerate(leaves):
        body = b"".join(e for _, e in leaf)
        prev = i - 1 if i > 0 else -1
        nxt = i + 1 if i + 1 < len(leaves) else -1
        head = struct.pack("<Hhhh", page_size - 8 - len(body), len(leaf), prev, nxt)
        pages.append((head + body).ljust(page_size, b"\0"))

    # Each level above: (first key, page number) of the pages below it.
    level = [(leaf[0][0] if leaf else b"", i) for i, leaf in enumerate(leaves)]
    levels = 1
    while len(level) > 1:
        above = []
        group = []
        used = 6
        for key, page in level:
            item = key + struct.pack("<h", page)
            if group and used + len(item) > page_size:
                above.append(group)
                group, used = [], 6
            group.append((key, page, item))
            used += len(item)
        above.append(group)
        next_level = []
        for group in above:
            body = b"".join(item for _, _, item in group[1:])
            head = struct.pack("<Hhh", page_size - 6 - len(body), len(group) - 1, group[0][1])
            next_level.append((group[0][0], len(pages)))
            pages.append((head + body).ljust(page_size, b"\0"))
        level = next_level
        levels += 1

    flags = 0x0002 | (0x0400 if directory else 0)
    header = struct.pack("<HHH16shhhhhhi", BTREE_MAGIC, flags, page_size,
                         structure.encode("ascii"), 0, len(pages) - 1, len(pages) - 1, -1,
                         len(pages), levels, len(entries))
    return header + b"".join(pages)


def long_key(value):
    return struct.pack("<i", value if value < 0x80000000 else value - 0x100000000)


# -- paragraphs -----------------------------------------------------------------------------


def compressed_long(value):
    """A signed long in its four-byte compressed form (2 * value + 1, biased)."""
    return struct.pack("<I", (2 * value + 0x80000001) & 0xFFFFFFFF)


def compressed_ushort(value):
    if not 0 <= value < 0x8000:
        raise HelpFormatError("paragraph too long")
    return struct.pack("<H", 2 * value + 1)


class Paragraph:
    """One paragraph: text runs, font changes, line breaks and jump hotspots."""

    def __init__(self, font=0):
        self._strings = []
        self._commands = bytearray()
        self._current = bytearray()
        self._characters = 0
        self.jumps = []  # context strings this paragraph jumps to
        self.font(font)

    def _command(self, data):
        self._strings.append(bytes(self._current))
        self._current = bytearray()
        self._commands += data

    def font(self, number):
        self._command(struct.pack("<BH", FMT_FONT, number))
        return self

    def text(self, data):
        if b"\0" in data:
            raise HelpFormatError("NUL in text")
        self._current += data
        self._characters += len(data)
        return self

    def line_break(self):
        self._command(bytes([FMT_LINE_BREAK]))
        self._characters += 1
        return self

    def jump(self, label, context):
        self.jumps.append(context)
        self._command(struct.pack("<Bi", FMT_JUMP, context_hash(context)))
        self.text(label)
        self._command(bytes([FMT_END_HOTSPOT]))
        return self

    def record(self):
        """LinkData1 and LinkData2 of the paragraph's topic record."""
        strings = self._strings + [bytes(self._current)]
        commands = self._commands + bytes([FMT_END_PARAGRAPH, FMT_END])
        text = b"\0".join(strings) + b"\0"
        # Paragraph info: the text size, its character count, four bytes the viewer skips,
        # then no paragraph attributes.
        head = compressed_long(len(text)) + compressed_ushort(self._characters + 1)
        head += bytes([0x00, 0x80, 0x00, 0x00]) + struct.pack("<H", 0)
        return head + bytes(commands), text


class Topic:
    def __init__(self, context, title, number=None):
        self.context = context
        self.title = title  # bytes
        self.number = number  # context number for HELP_CONTEXT, or None
        self.paragraphs = []

    def add(self, paragraph):
        self.paragraphs.append(paragraph)
        return paragraph


# -- |TOPIC ---------------------------------------------------------------------------------


def topic_pos(block, offset):
    return (block << 14) + BLOCK_HEADER + offset


def _link(record_type, data1, data2, prev_pos, next_pos):
    head_size = 21
    return struct.pack("<IIIII", head_size + len(data1) + len(data2), len(data2), prev_pos,
                       next_pos, head_size + len(data1)) + bytes([record_type]) + data1 + data2


def build_topic_file(topics):
    """The |TOPIC data and each topic's offset (TOPICOFFSET), in the order given."""
    # Lay the records out: (topic index, kind, data1, data2 or a callable) with positions.
    records = []  # dicts: topic, type, data1 (None for headers until known), data2, pos
    for ti, topic in enumerate(topics):
        records.append({"topic": ti, "type": RECORD_TOPIC_HEADER, "data1": b"\0" * 28,
                        "data2": topic.title})
        for p in topic.paragraphs:
            d1, d2 = p.record()
            records.append({"topic": ti, "type": RECORD_DISPLAY, "data1": d1, "data2": d2})

    # Positions: each topic starts a fresh block; records may run on into following blocks.
    block, offset = 0, 0
    starts = []  # (block, offset) of each record
    for r in records:
        if r["type"] == RECORD_TOPIC_HEADER and offset > 0:
            block, offset = block + 1, 0
        if offset >= BLOCK_DATA:
            block, offset = block + 1, 0
        starts.append((block, offset))
        size = 21 + len(r["data1"]) + len(r["data2"])
        end = offset + size
        block += end // BLOCK_DATA
        offset = end % BLOCK_DATA
    blocks = max(block + (1 if offset > 0 else 0), 1)

    positions = [topic_pos(b, o) for b, o in starts]
    header_indexes = [i for i, r in enumerate(records) if r["type"] == RECORD_TOPIC_HEADER]
    topic_offsets = [starts[i][0] << 15 for i in header_indexes]

    # Topic headers, now that positions are known.
    for n, i in enumerate(header_indexes):
        last = header_indexes[n + 1] if n + 1 < len(header_indexes) else len(records)
        size = sum(21 + len(records[k]["data1"]) + len(records[k]["data2"]) for k in range(i, last))
        scroll = positions[i + 1] if i + 1 < last else NONE
        next_topic = positions[header_indexes[n + 1]] if n + 1 < len(header_indexes) else NONE
        records[i]["data1"] = struct.pack("<IIIIIII", size, NONE, NONE, n, NONE, scroll,
                                          next_topic)

    stream = bytearray(blocks * BLOCK_DATA)
    for i, r in enumerate(records):
        prev_pos = positions[i - 1] if i > 0 else NONE
        next_pos = positions[i + 1] if i + 1 < len(records) else NONE
        data = _link(r["type"], r["data1"], r["data2"], prev_pos, next_pos)
        b, o = starts[i]
        at = b * BLOCK_DATA + o
        stream[at:at + len(data)] = data

    out = bytearray()
    for b in range(blocks):
        before = [k for k, (sb, _) in enumerate(starts) if sb < b]
        inside = [k for k, (sb, _) in enumerate(starts) if sb == b]
        heads = [k for k in before if records[k]["type"] == RECORD_TOPIC_HEADER]
        out += struct.pack("<III", positions[before[-1]] if before else NONE,
                           positions[inside[0]] if inside else NONE,
                           positions[heads[-1]] if heads else NONE)
        out += stream[b * BLOCK_DATA:(b + 1) * BLOCK_DATA]
    return bytes(out), topic_offsets


# -- the other internal files -----------------------------------------------------------------


def build_system(title, copyright_text, contents_offset, gen_date=0):
    data = struct.pack("<HHHiH", SYSTEM_MAGIC, SYSTEM_MINOR_31, 1, gen_date, 0)

    def record(kind, payload):
        return struct.pack("<HH", kind, len(payload)) + payload

    data += record(SYS_TITLE, title + b"\0")
    data += record(SYS_COPYRIGHT, copyright_text + b"\0")
    data += record(SYS_CONTENTS, struct.pack("<I", contents_offset))
    data += record(SYS_CHARSET, bytes([SHIFTJIS_CHARSET, 0]))
    return data


FACE_SIZE = 20


def build_font(faces, descriptors):
    """faces: face names (bytes); descriptors: (attributes, half points, family, face index,
    (r, g, b)) of fonts 0, 1, ..."""
    head = struct.pack("<HHHH", len(faces), len(descriptors), 8, 8 + FACE_SIZE * len(faces))
    body = b""
    for face in faces:
        if len(face) >= FACE_SIZE:
            raise HelpFormatError("face name too long")
        body += face.ljust(FACE_SIZE, b"\0")
    for attributes, half_points, family, face, rgb in descriptors:
        body += struct.pack("<BBBH", attributes, half_points, family, face)
        body += bytes(rgb) + bytes([255, 255, 255])
    return head + body


def build_ctxomap(pairs):
    data = struct.pack("<H", len(pairs))
    for number, offset in sorted(pairs):
        data += struct.pack("<iI", number, offset)
    return data


def build_context(pairs):
    """pairs: (context string, topic offset)."""
    hashed = sorted((context_hash(c), off) for c, off in pairs)
    for (h1, _), (h2, _) in zip(hashed, hashed[1:]):
        if h1 == h2:
            raise HelpFormatError("two context strings with the same hash")
    return btree([(long_key(h), long_key(h) + struct.pack("<I", off)) for h, off in hashed], "L4")


def build_titles(pairs):
    """pairs: (topic offset, title bytes)."""
    entries = [(long_key(off), long_key(off) + title + b"\0") for off, title in sorted(pairs)]
    return btree(entries, "Lz")


def build_help_file(files):
    """The whole help file from {internal file name: data}."""
    out = bytearray(16)
    offsets = {}
    for name in sorted(files):
        offsets[name] = len(out)
        out += internal_file(files[name])
    entries = []
    for name in sorted(files, key=lambda n: n.encode("ascii")):
        key = name.encode("ascii") + b"\0"
        entries.append((key, key + struct.pack("<I", offsets[name])))
    directory_at = len(out)
    out += internal_file(btree(entries, "z4", page_size=1024, directory=True))
    out[0:16] = struct.pack("<IIiI", MAGIC, directory_at, -1, len(out))
    return bytes(out)


def write_help(title, copyright_text, topics, fonts, contents_index=0, gen_date=0):
    """The help file's bytes. fonts: (faces, descriptors) as for build_font."""
    topic_data, offsets = build_topic_file(topics)
    known = {t.context for t in topics}
    for t in topics:
        for p in t.paragraphs:
            for target in p.jumps:
                if target not in known:
                    raise HelpFormatError("jump to unknown topic %r in %r" % (target, t.context))
    files = {
        "|SYSTEM": build_system(title, copyright_text, offsets[contents_index], gen_date),
        "|FONT": build_font(*fonts),
        "|TOPIC": topic_data,
        "|CONTEXT": build_context([(t.context, off) for t, off in zip(topics, offsets)]),
        "|CTXOMAP": build_ctxomap([(t.number, off) for t, off in zip(topics, offsets)
                                   if t.number is not None]),
        "|TTLBTREE": build_titles([(off, t.title) for t, off in zip(topics, offsets)]),
    }
    return build_help_file(files)
