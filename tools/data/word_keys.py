"""Which words can be word keys, as casewright-cli decides.

A word of a text meets the tables as its key: the word stripped of its
punctuation characters and lower-cased. A table entry can only be found
when it is the key of some word, that is when it is one word of the text
that the key making leaves unchanged. Rather than repeat the program's
character classes, this module asks the program.

Each word is written as the sentence "WORD FILLER!" of a text, which is run
with tables holding the words as cue words and the filler as the only
stopword. A word is a key when its sentence
  - is stored as the word and the filler, two words: no character of the
    word separates words or ends the sentence;
  - holds a cue word: its key is one of the words tested;
  - has the distribution weight 1. The filler, a stopword, weighs nothing,
    so the weight is the number of sentences whose word has the same key;
    a word whose key is another tested word shares that key with it.
The filler, a run of "x" longer than any word, is a lower-case word, so a
period at the end of the word does not end the sentence.

A word and its key tested together both see a shared key. Such words are
tested again in groups split by the bits of their index, until each is
decided: in a group that lacks a word's key, the word holds no cue word.
"""

import os
import tempfile

import cli_rows

# A table source line holds no line break, and the program reads a text only
# up to a NUL byte: a word holding one can be no key, and is never written.
UNWRITABLE = frozenset("\0\r\n")


def writable(word):
    if not word or UNWRITABLE.intersection(word):
        return False
    try:
        word.encode("cp1252")
    except UnicodeEncodeError:
        return False
    return True


def key_words(cli, words):
    """Return the set of those `words` (str) that are word keys."""
    candidates = sorted({w for w in words if writable(w)})
    index = {w: i for i, w in enumerate(candidates)}
    filler = "x" * (max(map(len, candidates), default=0) + 1)
    keys = set()
    pending = candidates
    # Round 0 tests all the words at once, round r splits them by bit r - 1
    # of their index. Past the last bit a word and its key have been apart in
    # some round, where the word was decided; the key is then alone.
    for round_ in range(len(candidates).bit_length() + 2):
        if round_ == 0:
            groups = [pending]
        else:
            bit = 1 << (round_ - 1)
            groups = [[w for w in pending if not index[w] & bit],
                      [w for w in pending if index[w] & bit]]
        pending = []
        for group in groups:
            if group:
                found, shared = test_group(cli, group, filler)
                keys |= found
                pending += shared
        if not pending:
            return keys
    raise RuntimeError("word_keys: words left undecided: " + ", ".join(pending))


def test_group(cli, group, filler):
    """Run one group of words; return (the keys, the words that share their
    key with another word of the group)."""
    with tempfile.TemporaryDirectory() as tmp:
        def write(name, data):
            path = os.path.join(tmp, name)
            with open(path, "wb") as f:
                f.write(data)
            return path

        tables = os.path.join(tmp, "tables")
        cli_rows.build_tables(
            cli, write("lexicon.tsv", b""),
            write("stoplist.txt", filler.encode("utf-8") + b"\n"),
            write("cues.txt", "".join(w + "\n" for w in group).encode("utf-8")),
            tables)
        text = write("words.txt", "".join(
            f"{w} {filler}!\n" for w in group).encode("cp1252"))
        rows = cli_rows.raw_rows(cli, text, tables, features="6,8")
    # Found by their text, not their place: a word that splits into several
    # sentences shifts the rows after it.
    by_text = {r["text"]: r for r in rows if r["word_count"] == "2"}
    keys, shared = set(), []
    for w in group:
        row = by_text.get(w + "#" + filler)
        if row is None or row["has_cue_phrase"] != "1":
            continue
        if float(row["distribution_weight"]) == 1:
            keys.add(w)
        else:
            shared.append(w)
    return keys, shared


def key_chars(cli):
    """The characters a key may hold: those that are keys by themselves."""
    return frozenset(key_words(cli, bytes(range(1, 256)).decode("cp1252", "ignore")))
