#!/usr/bin/env python3
"""Builds the program's help from sorm32_help.txt: sorm32.hlp (WinHelp) and sorm32.htm (the
same topics as one HTML page, for systems without a WinHelp viewer).

Usage: make_help.py OUTPUT_DIR [SOURCE]

The source is UTF-8 text; the outputs are in code page 932. Its lines:
  ; ...                       a comment
  @title TEXT                 the help file's title (the viewer's caption)
  @copyright TEXT             its copyright line
  == CONTEXT | TITLE          starts a topic; CONTEXT is 1 to 5 lower-case letters or digits,
                              and a context of digits only is also the topic's context number
                              (the command id that F1 and context help ask for)
  ! TEXT                      a heading inside the topic
  - TEXT                      a list item
  TEXT                        a paragraph: each line is one (the viewer and the page wrap
                              them); blank lines only space the source
Inside text, [[LABEL|CONTEXT]] is a jump to another topic. The first topic is the contents.
"""

import html
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import winhelp  # noqa: E402

ENCODING = "cp932"
CONTEXT_RE = re.compile(r"^[a-z0-9]{1,5}$")
JUMP_RE = re.compile(r"\[\[([^\]|]+)\|([^\]]+)\]\]")

# Fonts: body text, topic title, heading.
FACE = "ＭＳ ゴシック"
FONT_BODY, FONT_TITLE, FONT_HEADING = 0, 1, 2
FONTS = (
    [FACE.encode(ENCODING)],
    [
        (0, 20, winhelp.FAMILY_SWISS, 0, (0, 0, 0)),
        (winhelp.FONT_BOLD, 28, winhelp.FAMILY_SWISS, 0, (0, 0, 128)),
        (winhelp.FONT_BOLD, 20, winhelp.FAMILY_SWISS, 0, (0, 0, 0)),
    ],
)


class SourceError(ValueError):
    def __init__(self, line_no, message):
        super().__init__("line %d: %s" % (line_no, message))
        self.line_no = line_no


class Block:
    """A paragraph of a topic: kind is "text", "item" or "heading"."""

    def __init__(self, kind, text):
        self.kind = kind
        self.text = text

    def runs(self):
        """The text as ("text", s) and ("jump", label, context) pieces."""
        out = []
        at = 0
        for m in JUMP_RE.finditer(self.text):
            if m.start() > at:
                out.append(("text", self.text[at:m.start()]))
            out.append(("jump", m.group(1), m.group(2)))
            at = m.end()
        if at < len(self.text):
            out.append(("text", self.text[at:]))
        return out


class SourceTopic:
    def __init__(self, context, title, line_no):
        self.context = context
        self.title = title
        self.line_no = line_no
        self.blocks = []

    @property
    def number(self):
        return int(self.context) if self.context.isdigit() else None


class HelpSource:
    def __init__(self):
        self.title = ""
        self.copyright = ""
        self.topics = []

    def topic(self, context):
        for t in self.topics:
            if t.context == context:
                return t
        return None


def _encodable(text, line_no):
    try:
        text.encode(ENCODING)
    except UnicodeEncodeError as e:
        raise SourceError(line_no, "not in code page 932: %r" % text[e.start:e.end])


def parse(text):
    src = HelpSource()
    topic = None
    for line_no, raw in enumerate(text.splitlines(), 1):
        line = raw.rstrip()
        if line.startswith(";"):
            continue
        if not line.strip():
            continue
        _encodable(line, line_no)
        if line.startswith("@"):
            key, _, value = line[1:].partition(" ")
            if key not in ("title", "copyright"):
                raise SourceError(line_no, "unknown setting @" + key)
            setattr(src, key, value.strip())
            continue
        if line.startswith("=="):
            head, bar, title = line[2:].partition("|")
            context, title = head.strip(), title.strip()
            if not bar or not title:
                raise SourceError(line_no, "a topic needs '== CONTEXT | TITLE'")
            if not CONTEXT_RE.match(context):
                raise SourceError(line_no, "bad context %r" % context)
            if src.topic(context):
                raise SourceError(line_no, "context %r used twice" % context)
            topic = SourceTopic(context, title, line_no)
            src.topics.append(topic)
            continue
        if topic is None:
            raise SourceError(line_no, "text before the first topic")
        if line.startswith("! "):
            topic.blocks.append(Block("heading", line[2:].strip()))
        elif line.startswith("- "):
            topic.blocks.append(Block("item", line[2:].strip()))
        else:
            topic.blocks.append(Block("text", line.strip()))
    if not src.topics:
        raise SourceError(0, "no topics")
    if not src.title:
        raise SourceError(0, "no @title")
    for t in src.topics:
        for b in t.blocks:
            for run in b.runs():
                if run[0] == "jump" and not src.topic(run[2]):
                    raise SourceError(t.line_no, "jump to unknown topic %r" % run[2])
            rest = JUMP_RE.sub("", b.text)
            if "[[" in rest or "]]" in rest:
                raise SourceError(t.line_no, "unfinished jump in %r" % b.text)
    return src


def enc(text):
    return text.encode(ENCODING)


def to_winhelp(src, gen_date=0):
    topics = []
    for st in src.topics:
        t = winhelp.Topic(st.context, enc(st.title), st.number)
        t.add(winhelp.Paragraph(FONT_TITLE).text(enc(st.title)))
        for b in st.blocks:
            p = winhelp.Paragraph(FONT_HEADING if b.kind == "heading" else FONT_BODY)
            if b.kind == "item":
                p.text(enc("・"))
            for run in b.runs():
                if run[0] == "text":
                    p.text(enc(run[1]))
                else:
                    p.jump(enc(run[1]), run[2])
            t.add(p)
        topics.append(t)
    return winhelp.write_help(enc(src.title), enc(src.copyright), topics, FONTS,
                              gen_date=gen_date)


def anchor(topic):
    """The HTML page's anchor of a topic: its context number, or its context string."""
    return topic.context


def to_html(src):
    out = ["<!DOCTYPE html>", '<html lang="ja">', "<head>",
           '<meta charset="Shift_JIS">',
           "<title>%s</title>" % html.escape(src.title),
           "<style>body{font-family:sans-serif;max-width:46em;margin:1em auto;padding:0 1em}"
           "section{border-top:1px solid #aac;margin-top:2em}h2{color:#000080}</style>",
           "</head>", "<body>"]
    for t in src.topics:
        out.append('<section id="%s">' % anchor(t))
        out.append("<h2>%s</h2>" % html.escape(t.title))
        in_list = False
        for b in t.blocks:
            body = ""
            for run in b.runs():
                if run[0] == "text":
                    body += html.escape(run[1])
                else:
                    body += '<a href="#%s">%s</a>' % (run[2], html.escape(run[1]))
            if b.kind == "item" and not in_list:
                out.append("<ul>")
                in_list = True
            elif b.kind != "item" and in_list:
                out.append("</ul>")
                in_list = False
            if b.kind == "item":
                out.append("<li>%s</li>" % body)
            elif b.kind == "heading":
                out.append("<h3>%s</h3>" % body)
            else:
                out.append("<p>%s</p>" % body)
        if in_list:
            out.append("</ul>")
        if t is not src.topics[0]:
            out.append('<p><a href="#%s">%s</a></p>' % (src.topics[0].context,
                                                         html.escape(src.topics[0].title)))
        out.append("</section>")
    out += ["</body>", "</html>", ""]
    return "\r\n".join(out).encode(ENCODING)


def build(source_path, out_dir):
    with open(source_path, encoding="utf-8") as f:
        src = parse(f.read())
    gen_date = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    os.makedirs(out_dir, exist_ok=True)
    for name, data in (("sorm32.hlp", to_winhelp(src, gen_date)), ("sorm32.htm", to_html(src))):
        tmp = os.path.join(out_dir, name + ".tmp")
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, os.path.join(out_dir, name))
    return src


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    source = argv[2] if len(argv) == 3 else os.path.join(HERE, "sorm32_help.txt")
    try:
        build(source, argv[1])
    except (SourceError, winhelp.HelpFormatError) as e:
        sys.stderr.write("make_help.py: %s: %s\n" % (source, e))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
