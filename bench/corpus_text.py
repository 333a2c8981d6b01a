#!/usr/bin/env python3
"""Turns the Portuguese documents unpacked from Debian packages into texts.

    corpus_text.py UNPACKED_FOLDER TEXTS_FOLDER

Reads every HTML page and manual page under UNPACKED_FOLDER (in sorted order)
and writes one Windows-1252 text per document to TEXTS_FOLDER, named
00001.txt, 00002.txt..., one paragraph per line with a blank line between
paragraphs, as the bundled texts are.  A paragraph already written (same
words, any spacing) is left out, so no text is repeated anywhere in the
corpus; so are paragraphs of fewer than four words (headings, menu entries,
code) and documents left with fewer than 300 bytes.  Characters Windows-1252
lacks are left out.
"""

import gzip
import hashlib
import html.parser
import os
import re
import sys

SKIPPED_TAGS = {"script", "style", "pre", "code", "head", "title", "nav"}
BLOCK_TAGS = {"p", "div", "li", "dd", "dt", "td", "th", "h1", "h2", "h3", "h4", "h5", "h6",
              "br", "tr", "table", "ul", "ol", "dl", "section", "article", "blockquote"}


class HtmlParagraphs(html.parser.HTMLParser):
    """The paragraphs of a page's text, outside scripts, styles and code."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.paragraphs = []
        self.current = []
        self.skipping = 0

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED_TAGS:
            self.skipping += 1
        elif tag in BLOCK_TAGS:
            self.flush()

    def handle_endtag(self, tag):
        if tag in SKIPPED_TAGS:
            self.skipping = max(0, self.skipping - 1)
        elif tag in BLOCK_TAGS:
            self.flush()

    def handle_data(self, data):
        if not self.skipping:
            self.current.append(data)

    def flush(self):
        if self.current:
            self.paragraphs.append("".join(self.current))
            self.current = []


def html_paragraphs(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        parser = HtmlParagraphs()
        parser.feed(f.read())
        parser.close()
        parser.flush()
        return parser.paragraphs


ROFF_FONT = re.compile(r"\\f(\[[^]]*\]|\(..|.)")
ROFF_ESCAPE = re.compile(r"\\(\(..|\[[^]]*\]|[-e&|^%:c ])")
ROFF_TEXT_MACROS = re.compile(r"^\.(B|I|BI|BR|IB|IR|RB|RI|SM|SB)\s+")


def roff_paragraphs(path):
    """The running text of a manual page: macros dropped, font changes removed."""
    with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()
    paragraphs, current = [], []
    for line in lines:
        line = ROFF_TEXT_MACROS.sub("", line)
        if line.startswith((".", "'")):
            if re.match(r"^[.'](PP|LP|P|TP|IP|SH|SS|HP|sp|br|nf|fi|TH)\b", line) and current:
                paragraphs.append(" ".join(current))
                current = []
            continue
        line = ROFF_FONT.sub("", line)
        line = ROFF_ESCAPE.sub(lambda m: "-" if m.group(1) == "-" else "", line).replace('"', "")
        if line.strip():
            current.append(line.strip())
        elif current:
            paragraphs.append(" ".join(current))
            current = []
    if current:
        paragraphs.append(" ".join(current))
    return paragraphs


def documents(folder):
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(root, name)
            if os.path.islink(path):
                continue
            if name.endswith((".html", ".htm", ".xhtml")):
                yield html_paragraphs(path)
            elif "/man/" in path and name.endswith(".gz"):
                yield roff_paragraphs(path)


def main():
    source, target = sys.argv[1], sys.argv[2]
    os.makedirs(target, exist_ok=True)
    seen = set()
    count = total = 0
    for paragraphs in documents(source):
        kept = []
        for p in paragraphs:
            words = p.split()
            if len(words) < 4:
                continue
            key = hashlib.blake2b(" ".join(words).encode(), digest_size=12).digest()
            if key in seen:
                continue
            seen.add(key)
            kept.append(" ".join(words).encode("cp1252", errors="ignore"))
        text = b"\n\n".join(kept) + b"\n"
        if len(text) < 300:
            continue
        count += 1
        total += len(text)
        with open(os.path.join(target, "%05d.txt" % count), "wb") as f:
            f.write(text)
    print("%d texts, %.1f MB" % (count, total / 1e6))


if __name__ == "__main__":
    main()
