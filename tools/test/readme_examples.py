#!/usr/bin/env python3
"""Run the examples of the README and of docs/ that are marked runnable.

Usage: readme_examples.py BIN_DIR EXAMPLES_DIR DOCUMENT...

A fenced block whose info string is "sh runnable" (or "python runnable") is
an example to run; a plain fenced block right after it (blank lines between
allowed) is the output it shows.  The examples of one document run in order,
as a reader would type them, in one copy of EXAMPLES_DIR, with BIN_DIR first
on PATH (then Debian's /usr/bin, whose python3 has scikit-learn and XGBoost).

An example fails when it exits with a status other than 0, or when the
lines of the output it shows are not found one after the other in what it
prints (stdout and stderr as a terminal shows them: an example of several
commands may show the output of one).  In a shown output, a line "..."
stands for any number of lines, and a line ending in " ..." for any line
that begins with the rest of it (the columns cut off).  Trailing blanks do
not count.

A Python example that imports casewright is skipped, with a note, when the
module does not import (a build without it); the others run.

Every relative link of a document must lead to a file of the repository, and
a link's "#anchor" to a heading of the page it names.

Exits 0 when every example passes and every link leads somewhere, 1
otherwise, naming each failure by its document and line.
"""

import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass

INTERPRETERS = {"sh": ["sh", "-e", "-c"], "python": ["/usr/bin/python3", "-c"]}
FENCE = re.compile(r"^```(.*)$")
ELIDED_LINES = "..."
ELIDED_COLUMNS = " ..."
LINK = re.compile(r"\]\(([^)\s]+)\)")
HEADING = re.compile(r"^#{1,6} (.*)$", re.M)
@dataclass
class Example:
    line: int  # of the opening fence, counting from 1
    language: str
    code: str
    shown: list | None  # the shown output's lines, or None when none is shown


def fenced_blocks(text):
    """Yields (line of the opening fence, info string, body) for each block."""
    lines = text.split("\n")
    index = 0
    while index < len(lines):
        opening = FENCE.match(lines[index])
        if not opening:
            index += 1
            continue
        start = index
        index += 1
        body = []
        while index < len(lines) and lines[index] != "```":
            body.append(lines[index])
            index += 1
        yield start + 1, opening.group(1).strip(), body, index
        index += 1


def runnable_examples(text):
    """The runnable examples of a Markdown text, each with its shown output."""
    blocks = list(fenced_blocks(text))
    lines = text.split("\n")
    examples = []
    for position, (line, info, body, closing) in enumerate(blocks):
        words = info.split()
        if len(words) != 2 or words[1] != "runnable" or words[0] not in INTERPRETERS:
            continue
        shown = None
        if position + 1 < len(blocks):
            next_line, next_info, next_body, _ = blocks[position + 1]
            between = lines[closing + 1:next_line - 1]
            if next_info == "" and all(not gap.strip() for gap in between):
                shown = next_body
        examples.append(Example(line, words[0], "\n".join(body) + "\n", shown))
    return examples


def line_matches(shown, printed):
    if shown.endswith(ELIDED_COLUMNS):
        return printed.startswith(shown[:-len(ELIDED_COLUMNS)].rstrip())
    return shown == printed


def shows(printed, shown):
    """Whether the shown lines stand one after the other in the printed ones,
    each "..." standing for any number of printed lines."""
    def match(s, p):
        # The shown lines from s on against the printed ones from p on.
        if s == len(shown):
            return True
        if shown[s] == ELIDED_LINES:
            return any(match(s + 1, q) for q in range(p, len(printed) + 1))
        return p < len(printed) and line_matches(shown[s], printed[p]) and match(s + 1, p + 1)

    return any(match(0, start) for start in range(len(printed) + 1))


def strip_lines(text):
    lines = [line.rstrip() for line in text.split("\n")]
    while lines and not lines[-1]:
        lines.pop()
    return lines


def run_example(example, workdir, env):
    """Returns None when the example passes, else what went wrong."""
    result = subprocess.run(INTERPRETERS[example.language] + [example.code], cwd=workdir, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        return f"exited with status {result.returncode}; it printed:\n{result.stdout}"
    if example.shown is None:
        return None
    printed = strip_lines(result.stdout)
    shown = strip_lines("\n".join(example.shown))
    if shows(printed, shown):
        return None
    diff = difflib.unified_diff(shown, printed, "shown", "printed", lineterm="")
    return "printed an output other than the one shown:\n" + "\n".join(diff)


def anchor(heading):
    """The anchor a heading gets: lower case, blanks as "-", punctuation gone."""
    return re.sub(r"[^\w\- ]", "", heading.strip().lower()).replace(" ", "-")


def without_blocks(text):
    """The text with its fenced blocks blanked out, keeping its line numbers."""
    return re.sub(r"^```.*?^```$", lambda block: "\n" * block.group(0).count("\n"), text, flags=re.M | re.S)


def anchors(text):
    """The anchors of a Markdown text's headings."""
    return {anchor(match.group(1)) for match in HEADING.finditer(without_blocks(text))}


def read(path):
    with open(path, encoding="utf-8") as document:
        return document.read()


def broken_links(path, text):
    """Where the relative links of a document lead nowhere: (line, link)."""
    broken = []
    for number, line in enumerate(without_blocks(text).split("\n"), start=1):
        for link in LINK.findall(line):
            if re.match(r"^[a-z]+:", link):
                continue
            target, _, fragment = link.partition("#")
            if not target:
                if fragment not in anchors(text):
                    broken.append((number, link))
                continue
            target = os.path.normpath(os.path.join(os.path.dirname(path), target))
            if not os.path.exists(target) or (fragment and target.endswith(".md")
                                              and fragment not in anchors(read(target))):
                broken.append((number, link))
    return broken


def imports_missing_module(example, env):
    return (example.language == "python" and "import casewright" in example.code
            and subprocess.run(INTERPRETERS["python"] + ["import casewright"], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0)


def check_document(path, examples_dir, env):
    """Runs a document's examples in one copy of the examples and checks its
    links; returns the number of examples run and the failures."""
    text = read(path)
    examples = runnable_examples(text)
    failures = [f"{path}:{line}: the link {link} leads to no file or heading"
                for line, link in broken_links(path, text)]
    with tempfile.TemporaryDirectory() as scratch:
        workdir = os.path.join(scratch, "examples")
        shutil.copytree(examples_dir, workdir)
        for example in examples:
            if imports_missing_module(example, env):
                print(f"skipped: {path}:{example.line} (the Python module casewright does not import)")
                continue
            started = time.monotonic()
            problem = run_example(example, workdir, env)
            status = "FAIL" if problem else "ok"
            print(f"{status}: {path}:{example.line} ({time.monotonic() - started:.1f} s)")
            if problem:
                failures.append(f"{path}:{example.line}: the example {problem}")
    return len(examples), failures


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    bin_dir, examples_dir, documents = argv[1], argv[2], argv[3:]
    env = dict(os.environ, PATH=os.pathsep.join([os.path.abspath(bin_dir), "/usr/bin", os.environ["PATH"]]))
    count, failures = 0, []
    for document in documents:
        ran, failed = check_document(document, examples_dir, env)
        count, failures = count + ran, failures + failed
    if count == 0:
        failures.append("no example is marked runnable (```sh runnable)")
    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{len(failures)} failures in {count} examples and the documents' links")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
