#!/usr/bin/env python3
"""Sentence segmentation of a Windows-1252 text, as the Casewright core does it.

Used to write classes files for the bundled examples (one class a sentence) and
to check that a classes file still matches its text. Works on bytes.

Usage: segment.py TEXT [--lexicon L --cues C --classes OUT]
Without options it prints the number of sentences.
"""

import argparse
import sys

# Word characters and punctuation characters of the Windows-1252 code page.
WORD = frozenset(
    [38, 45, 64, 95, 159, 169, 170, 174, 176, 255]
    + list(range(48, 58)) + list(range(65, 91)) + list(range(97, 123))
    + list(range(192, 197)) + list(range(199, 208)) + list(range(210, 215))
    + list(range(217, 222)) + list(range(224, 229)) + list(range(231, 240))
    + list(range(242, 247)) + list(range(249, 254)))
PUNCT = frozenset(b'"$%\'()*+,/:;<>[\\]{|}')
LOWER_ASCII = frozenset(range(97, 123))


def lower_byte(b):
    if 65 <= b <= 90 or b in WORD and 192 <= b <= 221:
        return b + 32
    if b == 159:
        return 255
    return b


def normalize(word):
    return bytes(lower_byte(b) for b in word)


def is_sentence_end(text, p):
    """True when the byte at index p (0-based) ends a sentence."""
    c = text[p]
    if c in (33, 63):
        return True
    if c != 46:
        return False
    if p == len(text) - 1:
        return True
    d = text[p + 1]
    if d not in (34, 39) and (d in WORD or d in PUNCT):
        return False
    for b in text[p + 2:]:
        if b in WORD:
            return b not in LOWER_ASCII
    return True


def load(data):
    """The text as the program reads it: cut at the first NUL byte, every
    line break (CR LF, CR alone, LF alone) turned into CR LF."""
    data = data.split(b"\0", 1)[0]
    return data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").replace(
        b"\n", b"\r\n")


def ends_paragraph(text, p):
    j = p + 1
    while j < len(text) and text[j] == 32:
        j += 1
    pair = text[j:j + 2]
    return pair in (b"\r\n", b"\n\r")


def segment(text):
    """Return the sentences of text: a list of (words, ends_paragraph).

    words are the raw words (bytes, punctuation included) closed in the
    sentence; text after the last terminator is no sentence.
    """
    sentences = []
    words = []
    word = bytearray()
    for p, c in enumerate(text):
        if c in WORD or c in PUNCT or (c == 46 and not is_sentence_end(text, p)):
            word.append(c)
        elif is_sentence_end(text, p):
            if word:
                words.append(bytes(word))
                word = bytearray()
            sentences.append((words, ends_paragraph(text, p)))
            words = []
        elif word:
            words.append(bytes(word))
            word = bytearray()
    return sentences


def strip_punct(word):
    return bytes(b for b in word if b not in PUNCT)


def read_table(path):
    """Lines of a table source file without comments and blank lines."""
    with open(path, encoding="utf-8") as f:
        return [l.rstrip("\n") for l in f
                if l.strip() and not l.startswith("#")]


def read_lexicon(path):
    lex = {}
    for line in read_table(path):
        form, lemma = line.split("\t")
        lex[form.encode("cp1252")] = lemma.encode("cp1252")
    return lex


def paragraphs(sentences):
    """Group sentences into paragraphs: a paragraph ends at a sentence that
    ends a paragraph, or at the end of the text."""
    paras, cur = [], []
    for sentence in sentences:
        cur.append(sentence)
        if sentence[1]:
            paras.append(cur)
            cur = []
    if cur:
        paras.append(cur)
    return paras


def classes(sentences, lexicon, cues):
    """Illustrative classes in the manner of location and cue methods: 1 for
    the first sentence of a paragraph when the paragraph has two or more
    sentences or that sentence holds a cue word; 0 for every other one."""
    out = []
    for para in paragraphs(sentences):
        for i, (words, _) in enumerate(para):
            keys = (lexicon.get(k, k) for k in
                    (normalize(strip_punct(w)) for w in words))
            lead = i == 0 and bool(words)
            out.append(1 if lead and (len(para) > 1 or
                                      any(k in cues for k in keys)) else 0)
    return out


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("text")
    ap.add_argument("--lexicon")
    ap.add_argument("--cues")
    ap.add_argument("--classes")
    args = ap.parse_args()
    with open(args.text, "rb") as f:
        sentences = segment(load(f.read()))
    if not args.classes:
        print(len(sentences))
        return
    lexicon = read_lexicon(args.lexicon)
    cues = {c.encode("cp1252") for c in read_table(args.cues)}
    with open(args.classes, "w", newline="\n") as f:
        f.write(" ".join(str(c) for c in classes(sentences, lexicon, cues)) + "\n")


if __name__ == "__main__":
    sys.exit(main())
