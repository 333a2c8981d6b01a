#!/usr/bin/env python3
"""Check features 9 to 11 against scikit-learn's cosine similarity.

Usage: feature_similarity_test.py CLI TEXT

Builds small tables (a stoplist of a few words), lists the text's sentences
with their keys (`sentences --format tsv`), and from the keys that are not
stopwords builds each sentence's count and TF-ISF vectors with
scikit-learn's CountVectorizer.  sklearn.metrics.pairwise.cosine_similarity
then gives what features 9 (cosine with the first sentence's counts), 10
(cosine with the sum of the TF-ISF vectors) and 11 (sum of the cosines with
every other sentence) must be, and the run's raw values (`--raw`, with
`--features 1-16`) are compared with them.

Exits 0 when they agree, 1 when not, and 77 (a skip for ctest) when
scikit-learn is missing, unless CASEWRIGHT_REQUIRE_TOOLS=1: then it fails.
"""

import csv
import os
import subprocess
import sys
import tempfile

SKIP = 77
STOPWORDS = ["a", "o", "de", "e", "que", "em", "um", "uma", "os", "as", "do", "da", "para", "com"]

try:
    import numpy
    from sklearn.feature_extraction.text import CountVectorizer
    from sklearn.metrics.pairwise import cosine_similarity
except ImportError:
    message = "scikit-learn is missing (Debian package python3-sklearn)"
    if os.environ.get("CASEWRIGHT_REQUIRE_TOOLS") == "1":
        sys.exit(f"FAIL: {message}, and CASEWRIGHT_REQUIRE_TOOLS=1 requires it")
    print(f"SKIP: {message}")
    sys.exit(SKIP)


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"FAIL: {' '.join(command)} exited {result.returncode}: {result.stderr}")
    return result.stdout


def rows(tsv):
    return list(csv.DictReader(tsv.splitlines(), delimiter="\t", quoting=csv.QUOTE_NONE))


def main(cli, text):
    with tempfile.TemporaryDirectory() as work:
        for name, lines in [("lexicon.tsv", []), ("stoplist.txt", STOPWORDS), ("cues.txt", ["resumo"])]:
            with open(os.path.join(work, name), "w", encoding="utf-8") as f:
                f.write("".join(line + "\n" for line in lines))
        tables = os.path.join(work, "tables")
        run([cli, "tables", "build", "--lexicon", os.path.join(work, "lexicon.tsv"), "--stoplist",
             os.path.join(work, "stoplist.txt"), "--cues", os.path.join(work, "cues.txt"), "--into", tables])
        listing = rows(run([cli, "sentences", "--text", text, "--tables", tables, "--format", "tsv"]))
        raw_path = os.path.join(work, "raw.tsv")
        run([cli, "--text", text, "--output", os.path.join(work, "cases"), "--raw", raw_path, "--features", "1-16",
             "--tables", tables])
        with open(raw_path, encoding="utf-8") as f:
            raw = rows(f.read())

    # Every key is one token; the keys hold no blank.
    documents = [" ".join(k for k in row["keys"].split() if k not in STOPWORDS) for row in listing]
    counts = CountVectorizer(tokenizer=str.split, token_pattern=None, lowercase=False).fit_transform(documents)
    counts = counts.toarray().astype(float)
    n = len(documents)
    holding = (counts > 0).sum(axis=0)
    tf_isf = counts * numpy.log10(n / holding)

    title = cosine_similarity(counts, counts[:1])[:, 0]
    if counts[0].any():
        title[0] = 1.0
    centroid = cosine_similarity(tf_isf, tf_isf.sum(axis=0, keepdims=True))[:, 0]
    pairwise = cosine_similarity(tf_isf)
    numpy.fill_diagonal(pairwise, 0.0)
    cohesion = pairwise.sum(axis=1)

    if len(raw) != n:
        sys.exit(f"FAIL: {len(raw)} rows of raw values for {n} sentences")
    checked = 0
    for column, expected in [("title_similarity", title), ("centroid_similarity", centroid),
                             ("cohesion", cohesion)]:
        for i, row in enumerate(raw):
            if abs(float(row[column]) - expected[i]) > 1e-9:
                sys.exit(f"FAIL: sentence {i + 1}: {column} {row[column]}, scikit-learn {expected[i]:.12g}")
            checked += 1
    if not (title > 0).sum() > 1 or not (cohesion > 0).any():
        sys.exit("FAIL: the text gives no similarity to compare")
    print(f"OK: {checked} values of {n} sentences agree with scikit-learn")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
