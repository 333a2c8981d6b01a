"""Running casewright-cli for the data tools.

The data tools never segment a text themselves: they run the program and
read the row per sentence that --raw writes, so that what they count and
classify is exactly what the program sees. A row is a dict keyed by the
--raw header (number, text, word_count, ends_paragraph, ..., class); every
value is the string the file holds (flags "1" or "0").
"""

import os
import subprocess
import tempfile


class CliError(Exception):
    """A run of casewright-cli that failed; the message holds its stderr."""


def run_cli(cli, args):
    """Runs `cli` with `args`; raises CliError when it fails."""
    try:
        done = subprocess.run([cli] + args, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE)
    except OSError as e:
        raise CliError(f"cannot run {cli}: {e}") from e
    if done.returncode != 0:
        message = done.stderr.decode("utf-8", "replace").strip()
        raise CliError(f"{cli} {' '.join(args)} exited with "
                       f"{done.returncode}: {message}")


def build_tables(cli, lexicon, stoplist, cues, into):
    """Builds the three lexical tables from UTF-8 source files into `into`."""
    run_cli(cli, ["tables", "build", "--lexicon", lexicon,
                  "--stoplist", stoplist, "--cues", cues, "--into", into])


def sentence_rows(cli, text, tables, features="8"):
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
        with open(raw, encoding="utf-8", newline="") as f:
            lines = f.read().split("\n")
    header = lines[0].split("\t")
    return [dict(zip(header, line.split("\t"))) for line in lines[1:] if line]
