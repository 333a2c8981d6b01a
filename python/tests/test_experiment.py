"""Summaries, evaluation, training and cross-validation of the module
against the command line's on the same files."""

import io
import pathlib

import numpy as np
import pandas as pd
import pytest

import casewright


def read_table(text):
    names = ("text", "system", "other", "figure")
    return pd.read_csv(io.StringIO(text), dtype={name: str for name in names}, keep_default_na=False,
                       na_values=[""])


def test_summarize_equals_the_command_lines(cli, examples):
    scores = np.linspace(0, 1, len(casewright.sentences(pathlib.Path("example.txt"))))[::-1]
    np.savetxt("example.scores", scores, fmt="%.6f")
    expected = cli("summarize", "--text", "example.txt", "--scores", "example.scores", "--rate", "0.2").stdout.decode("cp1252")
    summary = casewright.summarize(pathlib.Path("example.txt"), scores=np.round(scores, 6), rate=0.2)
    assert summary.extract == expected
    assert summary.chosen == list(range(1, 31))
    assert casewright.summarize(pathlib.Path("example.txt"), scores=scores, sentences=3).chosen == [1, 2, 3]


def test_summarize_refusals(examples):
    text = pathlib.Path("example.txt")
    with pytest.raises(casewright.Error, match="example.txt: The text has 151 sentences, but 2 scores were given"):
        casewright.summarize(text, scores=[1, 0], rate=0.2)
    with pytest.raises(casewright.Error, match="The summary cannot take 152 sentences: the text has only 151"):
        casewright.summarize(text, scores=[0] * 151, sentences=152)
    with pytest.raises(casewright.Error, match="scores: the score of sentence 2, nan, is not a number"):
        casewright.summarize(text, scores=[0, float("nan")] + [0] * 149, rate=0.2)
    with pytest.raises(casewright.Error, match="summarize needs one of scores, model or method"):
        casewright.summarize(text, rate=0.2)
    with pytest.raises(casewright.Error, match="method: textrnk is not a method: textrank, "):
        casewright.summarize(text, method="textrnk", rate=0.2)
    with pytest.raises(casewright.Error, match="method: oracle needs a reference summary"):
        casewright.summarize(text, method="oracle", rate=0.2)


@pytest.mark.parametrize("method", ["textrank", "sumbasic", "feature:7"])
def test_summarize_by_method_equals_the_command_lines(cli, examples, method):
    expected = cli("summarize", "--text", "example.txt", "--method", method, "--sentences", "5").stdout.decode("cp1252")
    assert casewright.summarize(pathlib.Path("example.txt"), method=method, sentences=5).extract == expected


def test_evaluate_equals_the_command_lines(cli, examples):
    np.savetxt("example.scores", np.arange(151)[::-1], fmt="%d")
    manifest = pathlib.Path("evaluate.tsv")
    manifest.write_text("#text\treference\tmine\nexample.txt\tclasses:example.classes\tscores:example.scores\n")
    expected = read_table(cli("evaluate", manifest, "--rate", "0.2", "--seed", "0", "--format", "csv",
                              "--compare", "compared.csv").stdout.decode())
    figures, comparisons = casewright.evaluate(manifest, rate=0.2, compare=True)
    pd.testing.assert_frame_equal(figures, expected)
    pd.testing.assert_frame_equal(comparisons, read_table(pathlib.Path("compared.csv").read_text()))
    rows = [("example.txt", "classes:example.classes", "scores:example.scores")]
    pd.testing.assert_frame_equal(casewright.evaluate(rows, rate=0.2, systems=["mine"]), expected)
    with pytest.raises(casewright.Error, match=r"^rows:1: scores: systems need a rate"):
        casewright.evaluate(rows)


def test_train_and_crossval_equal_the_command_lines(cli, examples):
    cli("train", "corpus.tsv", "--model", "cli.model.json", "--jobs", "1")
    model = casewright.train("corpus.tsv", model="py.model.json", jobs=1)
    assert pathlib.Path("py.model.json").read_bytes() == pathlib.Path("cli.model.json").read_bytes()
    if casewright._xgboost() is None:
        assert model == "py.model.json"
    else:
        assert model.attr("casewright_features") == "1,2,3,4,5,6,7,8"
    summary = casewright.summarize(pathlib.Path("example.txt"), model="py.model.json", rate=0.2)
    expected = cli("summarize", "--text", "example.txt", "--model", "cli.model.json", "--rate", "0.2").stdout.decode("cp1252")
    assert summary.extract == expected

    expected = read_table(cli("crossval", "corpus.tsv", "--folds", "3", "--rate", "0.2", "--format", "csv",
                              "--bootstrap", "50", "--compare", "compared.csv").stdout.decode())
    figures, comparisons = casewright.crossval("corpus.tsv", folds=3, rate=0.2, bootstrap=50, compare=True)
    pd.testing.assert_frame_equal(figures, expected)
    pd.testing.assert_frame_equal(comparisons, read_table(pathlib.Path("compared.csv").read_text()))
    with pytest.raises(casewright.Error, match="bootstrap must be a whole number from 0 to 1000000"):
        casewright.crossval("corpus.tsv", folds=3, bootstrap=-1)


def test_a_failed_train_writes_nothing(examples):
    pathlib.Path("bad.tsv").write_text("example.txt\texample.classes\t\nmissing.txt\t\t\n")
    with pytest.raises(OSError, match="Cannot open file"):
        casewright.train("bad.tsv", model="model.json")
    assert not pathlib.Path("model.json").exists()
    with pytest.raises(casewright.Error, match=r"folds must be a whole number from 2 to the number of texts \(3\)"):
        casewright.crossval("corpus.tsv", folds=4)
    with pytest.raises(casewright.Error, match="^rows:2: The text has sentences without a class"):
        casewright.crossval([("example.txt", "example.classes"), ("faq-debian.txt", None)], folds=2)
