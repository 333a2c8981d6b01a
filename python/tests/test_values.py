"""Raw values instead of codes, and texts the user segmented, against the
command line."""

import pathlib

import numpy as np
import pandas as pd
import pytest

import casewright


def by_hand(name):
    """The text `name` as a user would segment it: each sentence the run
    finds on a line of its own, a blank line after each paragraph."""
    lines = []
    for sentence in casewright.sentences(pathlib.Path(name)):
        lines.append(sentence["text"] + "\n" + ("\n" if sentence["ends_paragraph"] else ""))
    pathlib.Path("by-hand.txt").write_text("".join(lines), encoding="utf-8")
    return "by-hand.txt"


def test_sentences_segmented_by_hand_give_the_same_cases(cli, examples):
    segmented = casewright.cases(pathlib.Path(by_hand("example.txt")), classes="example.classes", segmented=True)
    found = casewright.cases(pathlib.Path("example.txt"), classes="example.classes")
    pd.testing.assert_frame_equal(segmented.drop(columns="text"), found.drop(columns="text"))
    cli("--text", "by-hand.txt", "--classes", "example.classes", "--output", "out.csv", "--format", "csv", "--ids",
        "--segmented", "--values", "raw")
    expected = pd.read_csv("out.csv", dtype={"text": str, "class": str})
    frame = casewright.cases(pathlib.Path("by-hand.txt"), classes="example.classes", segmented=True, values="raw")
    # Every raw column is float64; pandas reads a column of whole numbers as int64.
    pd.testing.assert_frame_equal(frame, expected, check_dtype=False)
    assert list(frame.columns[2:5]) == ["size_raw", "text_location_raw", "paragraph_location_raw"]


def test_a_raw_values_model_scores_from_raw_values(cli, examples):
    cli("train", "corpus.tsv", "--values", "raw", "--model", "cli.model.json", "--jobs", "1")
    casewright.train("corpus.tsv", values="raw", model="py.model.json", jobs=1)
    assert pathlib.Path("py.model.json").read_bytes() == pathlib.Path("cli.model.json").read_bytes()
    summary = casewright.summarize(pathlib.Path("example.txt"), model="py.model.json", rate=0.2)
    expected = cli("summarize", "--text", "example.txt", "--model", "cli.model.json", "--rate", "0.2")
    assert summary.extract == expected.stdout.decode("cp1252")
    xgboost = casewright._xgboost()
    if xgboost is not None:
        frame = casewright.cases(pathlib.Path("example.txt"), values="raw")
        booster = xgboost.Booster(model_file="py.model.json")
        assert booster.attr("casewright_values") == "raw"
        predicted = booster.predict(xgboost.DMatrix(frame.iloc[:, 2:-1]))
        np.testing.assert_allclose(summary.scores, predicted, rtol=1e-6)
    from casewright.sklearn import SentenceFeatures
    features = SentenceFeatures(values="raw").fit_transform([pathlib.Path("example.txt")])
    assert features.dtype == np.float64 and features.shape == (151, 8)


def test_values_refused_with_the_command_lines_message(examples):
    with pytest.raises(casewright.Error, match="^--values: rank is not codes or raw$"):
        casewright.cases(b"Um. Dois.", values="rank")
    with pytest.raises(casewright.Error, match="--values: rank is not codes or raw"):
        casewright.train("corpus.tsv", values="rank", model="m.json")
    assert not pathlib.Path("m.json").exists()
