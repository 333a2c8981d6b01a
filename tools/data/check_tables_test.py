#!/usr/bin/env python3
"""Check Casewright's default table sources and bundled examples.

Usage: check_tables_test.py CLI [TABLES_DIR [EXAMPLES_DIR]]
(CLI is casewright-cli; the folders default to data/tables and data/examples
of this repository)

Reads lexicon.tsv, stoplist.txt and cues.txt and checks that their words can
serve as word keys (the program tells), that the documented forms map to
their documented lemmas, that every stopword and cue word is a key, and that
each example's classes file holds the classes that example_classes.py draws
from the program's sentences, read with tables built from these sources.
Prints one line per case ("ok" or "FAIL") and a closing "N passed, M failed";
exits 1 on any failure.
"""

import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # ctest runs this from the source tree
import cli_rows  # noqa: E402
import example_classes  # noqa: E402
import word_keys  # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))
if len(sys.argv) < 2:
    sys.exit(__doc__.split("\n\n")[1])
CLI = sys.argv[1]
TABLES = sys.argv[2] if len(sys.argv) > 2 else os.path.join(REPO, "data", "tables")
EXAMPLES = sys.argv[3] if len(sys.argv) > 3 else os.path.join(REPO, "data", "examples")

# Forms whose lemma the README documents.
DOCUMENTED = {
    "foram": "ser", "fizeram": "fazer", "é": "ser", "vão": "ir",
    "casas": "casa", "conclusões": "conclusão", "bonitas": "bonito",
    "melhores": "melhor",
    # contractions take the preposition; hand-checked exceptions
    "do": "de", "pelas": "por", "estado": "estado", "termos": "termo",
}

# Words whose key-ness is plain, tested along with the tables' words: a key
# test that took every word for a key would let every check below pass.
KNOWN_KEYS = {"casa": True, "etc.": True, "Casa": False, "a,b": False,
              "españa": False, "fim!": False}

passed = 0
failed = 0


def check(name, problems):
    """Record one case: problems is a list of messages (empty when fine)."""
    global passed, failed
    if problems:
        failed += 1
        print(f"FAIL {name}:")
        for p in problems[:10]:
            print(f"    {p}")
        if len(problems) > 10:
            print(f"    ... and {len(problems) - 10} more")
    else:
        passed += 1
        print(f"ok   {name}")


def source_lines(path):
    with open(path, "rb") as f:
        data = f.read()
    text = data.decode("utf-8")  # raises on invalid UTF-8
    return [l for l in text.split("\n")
            if l.strip() and not l.startswith("#")]


def main():
    lines = source_lines(os.path.join(TABLES, "lexicon.tsv"))
    lexicon = {}
    problems = []
    for n, line in enumerate(lines, 1):
        parts = line.split("\t")
        if len(parts) != 2:
            problems.append(f"line {n}: not form<TAB>lemma: {line!r}")
            continue
        form, lemma = parts
        if form in lexicon:
            problems.append(f"line {n}: repeated form {form!r}")
        lexicon[form] = lemma
        if lemma == "\\N":
            problems.append(f"line {n}: NULL lemma for {form!r}")
    forms = [l.split("\t", 1)[0].encode("utf-8") for l in lines]
    if forms != sorted(forms):
        problems.append("forms are not sorted by their UTF-8 bytes")
    check("lexicon.tsv is form<TAB>lemma, unique, sorted", problems)

    stop = source_lines(os.path.join(TABLES, "stoplist.txt"))
    cues = source_lines(os.path.join(TABLES, "cues.txt"))
    # One run of the program decides every word of the three files.
    try:
        keys = word_keys.key_words(
            CLI, set(lexicon) | set(lexicon.values()) | set(stop) | set(cues)
            | set(KNOWN_KEYS))
    except cli_rows.CliError as e:
        check("the program tells which words are keys", [str(e)])
        print(f"{passed} passed, {failed} failed")
        return 1
    check("the program tells which words are keys",
          [f"{w!r}: {'not ' if known else ''}taken for a key"
           for w, known in KNOWN_KEYS.items() if (w in keys) != known])

    check("lexicon forms and lemmas can be keys",
          [f"{f!r} -> {l!r}" for f, l in lexicon.items()
           if f not in keys or l not in keys])

    check("lexicon holds no verb+clitic forms",
          [f for f in ("faz-se", "dá-lo", "fazê-lo", "disse-lhe")
           if f in lexicon])

    check("lexicon size is that of a real lexicon",
          [] if len(lexicon) > 100000 and len(set(lexicon.values())) > 15000
          else [f"{len(lexicon)} forms, {len(set(lexicon.values()))} lemmas"])

    check("documented forms map to their documented lemmas",
          [f"{f} -> {lexicon.get(f, '(absent)')}, documented {l}"
           for f, l in DOCUMENTED.items() if lexicon.get(f) != l])

    def not_keys(words):
        return [f"{w!r} (its key is {lexicon[w]!r})" if w in lexicon
                else f"{w!r} (cannot be a key)"
                for w in words
                if lexicon.get(w, w) != w or w not in keys]

    problems = not_keys(stop)
    if len(set(stop)) != len(stop):
        problems.append("repeated stopwords")
    for w in ("ser", "estar", "ter", "haver", "de", "o", "que", "em", "por"):
        if w not in stop:
            problems.append(f"missing stopword key {w!r}")
    for w in ("foram", "do", "uma"):  # surface forms: stored as their keys
        if w in stop:
            problems.append(f"{w!r} is stored as a surface form")
    check("every stopword is stored as its key", problems)

    problems = not_keys(cues)
    if len(set(cues)) != len(cues):
        problems.append("repeated cue words")
    if not 40 <= len(cues) <= 80:
        problems.append(f"{len(cues)} cue words, expected 40 to 80")
    for w in ("conclusão", "resultado", "objetivo", "importante"):
        if w not in cues:
            problems.append(f"missing cue word {w!r}")
    check("every cue word is its own key", problems)

    check("example classes files match their texts", example_problems())

    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


def example_problems():
    """Each example's classes file against the classes drawn from the
    program's sentences, read with tables built from TABLES."""
    problems = []
    names = sorted(f[:-4] for f in os.listdir(EXAMPLES) if f.endswith(".txt"))
    if "example" not in names or "large-1mb" not in names:
        problems.append("example.txt or large-1mb.txt is missing")
    with tempfile.TemporaryDirectory() as built:
        try:
            cli_rows.build_tables(CLI, os.path.join(TABLES, "lexicon.tsv"),
                                  os.path.join(TABLES, "stoplist.txt"),
                                  os.path.join(TABLES, "cues.txt"), built)
        except cli_rows.CliError as e:
            return problems + [str(e)]
        for name in names:
            problems += classes_problems(name, built)
    return problems


def classes_problems(name, built):
    text = os.path.join(EXAMPLES, name + ".txt")
    with open(text, "rb") as f:
        try:
            f.read().decode("cp1252")
        except UnicodeDecodeError as e:
            return [f"{name}.txt: not Windows-1252: {e}"]
    cpath = os.path.join(EXAMPLES, name + ".classes")
    if not os.path.exists(cpath):
        return [f"{name}.classes is missing"]
    with open(cpath, "rb") as f:
        got = f.read()
    try:
        rows = cli_rows.listed_sentences(CLI, text, built)
    except cli_rows.CliError as e:
        return [str(e)]
    want = example_classes.classes_file(
        example_classes.classes(rows, example_classes.cue_words(built)))
    if got == want:
        return []
    count = len(got.rstrip(b"\n").split(b" ")) if got.strip() else 0
    if count != len(rows):
        return [f"{name}.classes: {count} classes for {len(rows)} sentences"]
    return [f"{name}.classes: differs from the classes of example_classes.py "
            "(rebuild with tools/build-tables-data.sh)"]


if __name__ == "__main__":
    sys.exit(main())
