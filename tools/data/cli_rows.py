"""Running casewright-cli for the data tools.

The data tools never segment a text themselves: they run the program and
read what it says of each sentence, so that what they count and classify is
exactly what the program sees. listed_sentences reads the program's sentence
listing (`casewright-cli sentences --format tsv`); raw_rows the row per
sentence that --raw writes, with the features' raw values. A row is a dict
keyed by the header of the TSV; every value is the string the file holds
(flags "1" or "0").
"""

import os
import subprocess
import tempfile


class CliError(Exception):
    """A run of casewright-cli that failed; the message holds its stderr."""


def run_cli(cli, args):
    """Runs `cli` with `args` and returns its standard output (bytes);
    raises CliError when it fails."""
    try:
        done = subprocess.run([cli] + args, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE)
    except OSError as e:
        raise CliError(f"cannot run {cli}: {e}") from e
    if done.returncode != 0:
        message = done.stderr.decode("utf-8", "replace").strip()
        raise CliError(f"{cli} {' '.join(args)} exited with "
                       f"{done.returncode}: {message}")
    return done.stdout


def build_tables(cli, lexicon, stoplist, cues, into):
    """Builds the three lexical tables from UTF-8 source files into `into`."""
    run_cli(cli, ["tables", "build", "--lexicon", lexicon,
                  "--stoplist", stoplist, "--cues", cues, "--into", into])


def tsv_rows(data):
    """The rows of a UTF-8 TSV with a header row, as dicts."""
    lines = data.decode("utf-8").split("\n")
    header = lines[0].split("\t")
    return [dict(zip(header, line.split("\t"))) for line in lines[1:] if line]


def listed_sentences(cli, text, tables):
    """The sentences of the Windows-1252 text file `text` as the program
    lists them, one row a sentence in text order (number, begins_paragraph,
    ends_paragraph, word_count, text, keys), read with the tables in the
    folder `tables`."""
    return tsv_rows(run_cli(cli, ["sentences", "--format", "tsv",
                                  "--text", text, "--tables", tables]))


def raw_rows(cli, text, tables, features):
    """The --raw rows of the Windows-1252 text file `text`, one a sentence in
    text order, read with the tables in the folder `tables` and computing
    `features` (a --features list)."""
    with tempfile.TemporaryDirectory() as tmp:
        # No classes are needed; the warning about the empty file is dropped.
        no_classes = os.path.join(tmp, "none.classes")
        open(no_classes, "wb").close()
        raw = os.path.join(tmp, "raw.tsv")
        run_cli(cli, ["--text", text, "--classes", no_classes,
                      "--output", os.path.join(tmp, "cases"), "--raw", raw,
                      "--tables", tables, "--features", features])
        with open(raw, "rb") as f:
            return tsv_rows(f.read())
