"""The fixtures of the module's tests: the command line to compare with
(CASEWRIGHT_CLI) and a copy of the bundled examples (from CASEWRIGHT_SOURCE,
the source tree), as ctest gives them."""

import os
import pathlib
import shutil
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("CASEWRIGHT_SOURCE", pathlib.Path(__file__).resolve().parents[2]))
TEXTS = ("example", "faq-debian", "foca-seguranca")


@pytest.fixture(scope="session")
def cli():
    """Runs casewright-cli with the arguments; fails on a non-zero status.
    Its output is bytes: an extract is in its text's encoding."""
    program = os.environ.get("CASEWRIGHT_CLI")
    if not program:
        pytest.skip("CASEWRIGHT_CLI names no casewright-cli to compare with")

    def run(*args, cwd=None):
        return subprocess.run([program, *map(str, args)], cwd=cwd, check=True, capture_output=True)
    return run


@pytest.fixture
def examples(tmp_path, monkeypatch):
    """A copy of the bundled texts and classes, the working folder."""
    for name in TEXTS:
        for ending in (".txt", ".classes"):
            shutil.copy(SOURCE / "data" / "examples" / (name + ending), tmp_path)
    (tmp_path / "corpus.tsv").write_text("".join(f"{t}.txt\t{t}.classes\t\n" for t in TEXTS))
    monkeypatch.chdir(tmp_path)
    return tmp_path
