#!/usr/bin/env python3
"""Classes of a bundled example text, one a sentence.

Illustrative classes in the manner of location and cue methods: 1 for the
first sentence of a paragraph when that sentence has words and either the
paragraph has two or more sentences or the sentence holds a cue word; 0 for
every other sentence. Sentences, paragraph ends and word keys are the
program's own, read from its sentence listing; the cue words are those of
the tables' Cuephrases.db, which the program reads too.

Usage: example_classes.py CLI TABLES_DIR TEXT [--write CLASSES]

CLI is casewright-cli, TABLES_DIR a folder of built tables. Prints the
number of sentences of TEXT; with --write, also writes the classes file
(the classes separated by one blank, ended by LF).
"""

import argparse
import contextlib
import os
import sqlite3
import sys

import cli_rows


def cue_words(tables):
    """The cue words of the tables in the folder `tables`."""
    path = os.path.join(tables, "Cuephrases.db")
    with contextlib.closing(sqlite3.connect(f"file:{path}?mode=ro", uri=True)) as db:
        return {row[0] for row in db.execute('SELECT "Palavra" FROM "Cuephrases"')
                if row[0] is not None}


def paragraphs(rows):
    """Group sentence rows into paragraphs: a paragraph ends at a sentence
    that ends a paragraph, or at the end of the text."""
    paras, current = [], []
    for row in rows:
        current.append(row)
        if row["ends_paragraph"] == "1":
            paras.append(current)
            current = []
    if current:
        paras.append(current)
    return paras


def classes(rows, cues):
    """The class of each sentence row, in text order, with the cue words
    `cues`."""
    out = []
    for para in paragraphs(rows):
        lead = para[0]
        has_cue = not cues.isdisjoint(lead["keys"].split(" "))
        chosen = lead["word_count"] != "0" and (len(para) > 1 or has_cue)
        out.append(1 if chosen else 0)
        out.extend(0 for _ in para[1:])
    return out


def classes_file(classes_):
    """The bytes of a classes file holding `classes_`."""
    return (" ".join(str(c) for c in classes_) + "\n").encode("ascii")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("cli", help="casewright-cli")
    ap.add_argument("tables", help="folder of the built lexical tables")
    ap.add_argument("text", help="the example text (Windows-1252)")
    ap.add_argument("--write", metavar="CLASSES", help="classes file to write")
    args = ap.parse_args()
    try:
        rows = cli_rows.listed_sentences(args.cli, args.text, args.tables)
    except cli_rows.CliError as e:
        sys.exit(f"example_classes: {e}")
    if args.write:
        with open(args.write, "wb") as f:
            f.write(classes_file(classes(rows, cue_words(args.tables))))
    print(len(rows))


if __name__ == "__main__":
    main()
