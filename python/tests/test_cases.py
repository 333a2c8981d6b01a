"""The cases, sentences and corpora of the module against the command
line's files of the same texts, and its errors."""

import os
import pathlib
import threading

import pandas as pd
import pytest

import casewright
from conftest import TEXTS


def read_cases(path):
    return pd.read_csv(path, dtype={"text": str, "class": str})


@pytest.mark.parametrize("name", TEXTS)
def test_cases_equal_the_command_lines_csv(cli, examples, name):
    cli("--text", f"{name}.txt", "--classes", f"{name}.classes", "--output", "out.csv", "--format", "csv", "--ids")
    frame = casewright.cases(pathlib.Path(f"{name}.txt"), classes=f"{name}.classes")
    pd.testing.assert_frame_equal(frame, read_cases("out.csv"))


def test_features_and_an_unlabelled_text(cli, examples):
    cli("--text", "example.txt", "--output", "out.csv", "--format", "csv", "--ids", "--features", "1-3,8")
    frame = casewright.cases(pathlib.Path("example.txt"), features=[1, 2, 3, 8])
    pd.testing.assert_frame_equal(frame, read_cases("out.csv"))
    assert frame["class"].isna().all()


def test_content_as_bytes_or_str_gives_the_files_cases(examples):
    from_file = casewright.cases(pathlib.Path("example.txt"))
    raw = pathlib.Path("example.txt").read_bytes()
    from_bytes = casewright.cases(raw, name="example.txt")
    pd.testing.assert_frame_equal(from_bytes, from_file)
    from_str = casewright.cases(raw.decode("cp1252"), name="example.txt")
    pd.testing.assert_frame_equal(from_str, from_file)


def test_corpus_equals_the_batchs_combined_csv(cli, examples):
    cli("batch", "corpus.tsv", "--combined", "all.csv", "--format", "csv", "--ids")
    expected = read_cases("all.csv")
    pd.testing.assert_frame_equal(casewright.corpus("corpus.tsv", jobs=2), expected)
    rows = [(f"{t}.txt", f"{t}.classes") for t in ("example", "faq-debian", "foca-seguranca")]
    pd.testing.assert_frame_equal(casewright.corpus(rows, jobs=1), expected)
    unlabelled = casewright.corpus(pd.DataFrame({"text": ["example.txt"], "classes": [None]}))
    assert len(unlabelled) == 151 and unlabelled["class"].isna().all()


def test_sentences_as_the_command_line_lists_them(cli, examples):
    tsv = cli("sentences", "--text", "example.txt", "--format", "tsv").stdout.decode().splitlines()
    listed = casewright.sentences(pathlib.Path("example.txt"))
    assert len(listed) == len(tsv) - 1
    for sentence, line in zip(listed, tsv[1:]):
        number, begins, ends, _, text, keys, _words, _stems = line.split("\t")
        assert (sentence["number"], sentence["begins_paragraph"], sentence["ends_paragraph"]) == \
            (int(number), begins == "1", ends == "1")
        assert sentence["text"] == text and sentence["keys"] == keys.split()


def test_sentences_one_a_line():
    listed = casewright.sentences("Uma linha sem ponto\nOutra. Com dois\n", segmented=True)
    assert [s["text"] for s in listed] == ["Uma linha sem ponto", "Outra. Com dois"]
    assert [s["words"] for s in listed][1] == ["Outra", "Com", "dois"]


def test_two_threads_give_the_single_runs_cases(examples):
    single = {name: casewright.cases(pathlib.Path(f"{name}.txt")) for name in TEXTS[:2]}
    threaded = {}
    threads = [threading.Thread(target=lambda n=name: threaded.update({n: casewright.cases(pathlib.Path(f"{n}.txt"))}))
               for name in TEXTS[:2]]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for name in TEXTS[:2]:
        pd.testing.assert_frame_equal(threaded[name], single[name])


def test_errors_name_the_file_or_the_value(examples):
    with pytest.raises(FileNotFoundError, match="Cannot open file missing.txt") as raised:
        casewright.cases(pathlib.Path("missing.txt"))
    assert raised.value.filename == "missing.txt"
    with pytest.raises(casewright.Error, match="--features: "):
        casewright.cases("texto.", features="17")
    with pytest.raises(casewright.Error, match="The classes file is the same file as the text file"):
        casewright.cases(pathlib.Path("example.txt"), classes="example.txt")
    with pytest.raises(casewright.Error, match="encoding: latin-1 is not windows-1252, utf-8 or auto"):
        casewright.cases(b"texto.", encoding="latin-1")
    with pytest.raises(FileNotFoundError, match="missing.txt: Cannot open file missing.txt") as raised:
        casewright.corpus([("example.txt", "example.classes"), ("missing.txt", "")])
    assert raised.value.filename == "rows:2"
    with pytest.raises(casewright.Error, match="^rows:1: a field holds a tab or a line break"):
        casewright.corpus([("a\tb.txt", "")])
    with pytest.raises(casewright.Error, match=r"no-tables/Léxico.db: Cannot open table .* the folder does not exist"):
        casewright.Tables(examples / "no-tables")
    assert issubclass(casewright.Error, ValueError)
    # A text given as content is named in messages by its name, never by
    # the file in memory that holds it.
    with pytest.raises(casewright.Error, match="^mine: ") as raised:
        casewright.cases(b"\xff\xfe", encoding="utf-8", name="mine")
    assert "/proc/" not in str(raised.value)


def test_tables_from_the_environment(examples, monkeypatch):
    monkeypatch.setenv("CASEWRIGHT_ORBELIN", str(examples / "elsewhere"))
    with pytest.raises(casewright.Error, match=r"elsewhere/Léxico.db: Cannot open table"):
        casewright.Tables()
    monkeypatch.setenv("CASEWRIGHT_ORBELIN", "")
    assert casewright.Tables().folder.endswith(os.path.join("share", "casewright", "tables"))
