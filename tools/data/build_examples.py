#!/usr/bin/env python3
"""Cut the bundled example texts out of Debian's Portuguese documentation.

Reads the plain-text manuals shipped in focalinux-text and debian-faq-pt and
keeps only running prose: body paragraphs that are neither headings, lists,
code listings nor tables. Each paragraph is unwrapped onto one line; the
texts are written in Windows-1252 (characters it lacks are transliterated or
dropped). The selection is fixed by section numbers, so the output is the same
on every run.
"""

import argparse
import gzip
import re
import sys

# Focalinux: body text is indented by 5 blanks, headings are underlined.
# Debian FAQ: body text is indented by 4 blanks, headings start in column 0.
HEADING_RE = re.compile(r"^([0-9]+(?:\.[0-9]+)*)\.\s+\S")
BULLET_RE = re.compile(r"^( +)\* \S")

# Characters outside Windows-1252 that have a plain equivalent.
TRANSLIT = {
    "\u2192": "->", "\u2190": "<-", "\u2264": "<=", "\u2265": ">=",
    "\u2260": "!=", "\u2212": "-", "\u2010": "-", "\u2011": "-",
    "\u00a0": " ", "\u2009": " ", "\u200b": "",
}


def read_doc(path, encoding):
    with gzip.open(path, "rb") as f:
        return f.read().decode(encoding).splitlines()


def paragraphs(lines, indent):
    """Yield (section, kind, text) for the prose blocks of a manual.

    kind is "p" for a body paragraph (a run of lines indented by exactly
    `indent` blanks) and "item" for a list item ("* " and its continuation
    lines). Each block is unwrapped onto one line. Lines that belong to
    neither (code, tables, deeper quotes) end the block they interrupt; a
    block that `keep` refuses is dropped.
    """
    section = ""
    kind, run, item_pad = None, [], 0
    for line in lines + [""]:
        line = line.replace("\u00a0", " ").rstrip()
        m = HEADING_RE.match(line)
        bullet = BULLET_RE.match(line)
        pad = len(line) - len(line.lstrip(" "))
        if (kind == "item" and line.strip() and not bullet
                and pad == item_pad):
            run.append(line)
            continue
        if kind == "p" and line.strip() and pad == indent and not bullet:
            run.append(line)
            continue
        if run:
            text = " ".join(l.strip() for l in run)
            if kind == "item":
                text = text[2:]
            if keep(text):
                yield section, kind, text
        kind, run = None, []
        if m and pad == 0:
            section = m.group(1)
        elif bullet:
            kind, run, item_pad = "item", [line], len(bullet.group(1)) + 2
        elif line.strip() and pad == indent:
            kind, run = "p", [line]


# Words that mark a paragraph left in English in a partly translated manual.
ENGLISH = frozenset(["the", "and", "of", "you", "is", "are", "with", "this",
                     "that", "which", "your"])


def keep(text):
    """True for a paragraph of running Portuguese prose."""
    words = text.split()
    if len(words) < 12 or not text.endswith("."):
        return False
    if text.startswith(("*", "-", "#", "$", "+", "|")):
        return False
    letters = sum(c.isalpha() for c in text)
    if letters < 0.7 * len(text.replace(" ", "")):
        return False
    # Shell prompts, file paths and option lists are not prose.
    if re.search(r"(^|\s)(#|\$) \S|/etc/|/usr/|/dev/|/var/|\s--?[a-z]", text):
        return False
    if ENGLISH.intersection(re.findall(r"[a-z]+", text)):
        return False
    return True


def clean(text):
    """Drop the manuals' plain-text markup and fit Windows-1252."""
    text = re.sub(r"`([^`']*)'", r'"\1"', text)          # `cmd' -> "cmd"
    text = re.sub(r"(?<!\w)_([^_\s][^_]*?)_(?!\w)", r"\1", text)  # _em_
    text = re.sub(r"[ \t]+", " ", text)
    out = []
    for c in text:
        c = TRANSLIT.get(c, c)
        try:
            c.encode("cp1252")
        except UnicodeEncodeError:
            continue
        out.append(c)
    return "".join(out).strip()


def in_sections(section, prefixes):
    return any(section == p or section.startswith(p + ".") for p in prefixes)


def select(doc, prefixes, kinds=("p",)):
    """Cleaned paragraphs of the given kinds in the numbered sections."""
    return [clean(t) for s, k, t in doc
            if k in kinds and (prefixes is None or in_sections(s, prefixes))]


def write(path, paras, newline, limit=None):
    """Write paragraphs separated by a blank line; stop before `limit` bytes."""
    out = bytearray()
    count = 0
    for p in paras:
        chunk = (p + newline + newline).encode("cp1252")
        if limit is not None and len(out) + len(chunk) > limit:
            break
        out += chunk
        count += 1
    with open(path, "wb") as f:
        f.write(bytes(out))
    words = sum(len(p.split()) for p in paras[:count])
    return count, words, len(out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--focalinux", required=True,
                    help="folder holding iniciante/ intermediario/ avancado/")
    ap.add_argument("--faq", required=True, help="debian-faq.pt.txt.gz")
    ap.add_argument("--reference", required=True,
                    help="debian-reference.pt.txt.gz")
    ap.add_argument("--out", required=True, help="examples folder")
    args = ap.parse_args()

    foca = {}
    for level in ("iniciante", "intermediario", "avancado"):
        lines = read_doc(f"{args.focalinux}/{level}/index.txt.gz", "latin-1")
        foca[level] = list(paragraphs(lines, 5))
    faq = list(paragraphs(read_doc(args.faq, "utf-8"), 4))
    ref = list(paragraphs(read_doc(args.reference, "utf-8"), 4))

    # name, paragraphs, line break
    examples = [
        ("example.txt", select(foca["iniciante"], ["1"]), "\r\n"),
        ("faq-debian.txt", select(faq, ["1", "2"]), "\n"),
        ("foca-seguranca.txt", select(foca["avancado"], ["19"]), "\r\n"),
    ]
    for name, paras, nl in examples:
        n, w, b = write(f"{args.out}/{name}", paras, nl)
        print(f"{name}: {n} paragraphs, {w} words, {b} bytes")

    both = ("p", "item")
    everything = (select(foca["iniciante"], None, both)
                  + select(foca["intermediario"], None, both)
                  + select(foca["avancado"], None, both)
                  + select(faq, None, both) + select(ref, None, both))
    n, w, b = write(f"{args.out}/large-1mb.txt", everything, "\n",
                    limit=1_000_000)
    print(f"large-1mb.txt: {n} of {len(everything)} paragraphs, {w} words, "
          f"{b} bytes")


if __name__ == "__main__":
    sys.exit(main())
