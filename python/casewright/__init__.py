"""Casewright from Python: the cases of texts as pandas DataFrames, their
summaries, and the experiments of the command line (evaluate, train,
crossval), run by the same C++ core in this process.

A text is given as a path (a ``pathlib.Path`` or any ``os.PathLike``), as
``bytes`` (decoded as ``encoding`` says, as a file's bytes are) or as a
``str`` (the text itself).  A manifest is a path (a ``str`` too), or rows:
``(text, classes)`` pairs as a batch manifest's lines give them.

Failures raise ``casewright.Error`` (a ``ValueError``) or ``OSError`` with
the command line's messages, naming the file; a failed call writes nothing.
The runs release the GIL, so Python threads may run texts at once.
"""

import io
import math
import os
import pathlib
import tempfile
import threading
import warnings
from dataclasses import dataclass

import numpy as np
import pandas as pd

from . import _core
from ._core import Error

Error.__module__ = __name__

__all__ = ["Error", "CasewrightWarning", "Tables", "Summary", "sentences", "cases", "corpus", "summarize",
           "evaluate", "train", "crossval"]


class CasewrightWarning(UserWarning):
    """What the command line would warn of: classes that do not fit a text's
    sentences, characters the text's encoding cannot carry..."""


def _default_folder():
    # As the program finds them: the folder CASEWRIGHT_ORBELIN names, else
    # the tables installed with the package, <prefix>/share/casewright/tables
    # for a package in <prefix>/lib/<python>/dist-packages/casewright.
    installed = pathlib.Path(__file__).resolve().parents[4] / "share" / "casewright" / "tables"
    return os.environ.get("CASEWRIGHT_ORBELIN") or str(installed)


class Tables:
    """The lexical tables (lexicon, stoplist, cue phrases) in ``folder``;
    the default tables when it is None."""

    def __init__(self, folder=None):
        self.folder = os.fspath(folder) if folder is not None else _default_folder()
        self._tables = _core.SqliteTables(self.folder)

    def __repr__(self):
        return f"casewright.Tables({self.folder!r})"


_opened = {}
_opened_lock = threading.Lock()


def _tables_of(tables):
    # The default tables are opened once per folder, not on every call.
    if isinstance(tables, Tables):
        return tables._tables
    if tables is not None:
        return Tables(tables)._tables
    folder = _default_folder()
    with _opened_lock:
        if folder not in _opened:
            _opened[folder] = Tables(folder)
        return _opened[folder]._tables


def _text_args(text, name, encoding):
    """(path, content, name, encoding) of a text as the core takes it."""
    if isinstance(text, os.PathLike):
        path = os.fspath(text)
        return path, None, name or path, encoding
    if isinstance(text, (bytes, bytearray, memoryview)):
        return "", bytes(text), name or "text", encoding
    if isinstance(text, str):
        return "", text.encode("utf-8"), name or "text", "utf-8"
    raise TypeError(f"a text is a path, bytes or str, not {type(text).__name__}")


def _path_or_empty(path):
    return "" if path is None else os.fspath(path)


def _feature_list(features):
    if isinstance(features, str):
        return features
    return ",".join(str(number) for number in features)


def _options(features="1-8", encoding="auto", class_values=None, strict_classes=False,
             extract_encoding="auto", min_overlap=None, allow_unmatched=False, extract_lines=False,
             values="codes", segmented=False):
    options = _core.TextOptions()
    options.features = _feature_list(features)
    options.encoding = encoding
    options.class_values = "" if class_values is None else ",".join(map(str, class_values))
    options.strict_classes = strict_classes
    options.extract_encoding = extract_encoding
    options.min_overlap = "" if min_overlap is None else str(min_overlap)
    options.allow_unmatched = allow_unmatched
    options.extract_lines = extract_lines
    options.values = values
    options.segmented = segmented
    return options


def _warn(result, stacklevel=4):
    # By default the warning points at the caller of the caller of _warn:
    # the user's call of the function that made the table.
    for message in result.get("warnings", ()):
        warnings.warn(message, CasewrightWarning, stacklevel=stacklevel)


def _frame(columns):
    _warn(columns)
    data = {"text": np.repeat(np.array(columns["names"], dtype=object), columns["counts"]),
            "sentence": columns["sentence"]}
    codes = columns["codes"]
    for index, name in enumerate(columns["columns"]):
        data[name] = codes[:, index]
    data["class"] = np.array(columns["class"], dtype=object)
    return pd.DataFrame(data)


def _jobs(jobs):
    return "" if jobs is None else str(jobs)


def _manifest_args(manifest_or_rows):
    """(manifest, rows) for the core: a manifest's path, or the rows as the
    lines of a batch manifest, named "rows" in messages."""
    if isinstance(manifest_or_rows, (str, os.PathLike)):
        return os.fspath(manifest_or_rows), None
    if isinstance(manifest_or_rows, pd.DataFrame):
        columns = [manifest_or_rows["text"]]
        if "classes" in manifest_or_rows:
            columns.append(manifest_or_rows["classes"].fillna(""))
        manifest_or_rows = zip(*columns)
    lines = []
    for number, row in enumerate(manifest_or_rows, start=1):
        if isinstance(row, (str, os.PathLike)):
            row = (row,)
        fields = [_path_or_empty(field) for field in row][:2]
        fields += [""] * (3 - len(fields))
        if any(c in field for field in fields for c in "\t\r\n"):
            raise Error(f"rows:{number}: a field holds a tab or a line break")
        lines.append("\t".join(fields) + "\n")
    return "rows", "".join(lines)


def sentences(text, *, tables=None, encoding="auto", segmented=False, name=None):
    """The sentences of ``text`` as a run finds them (with ``segmented``,
    one a line, paragraphs separated by a blank line): a list of dicts with ``number`` (from
    1), ``text`` (as it stands in the text), ``begins_paragraph``,
    ``ends_paragraph``, ``words`` (as the text spells them) and ``keys``
    (their canonical forms)."""
    path, content, name, encoding = _text_args(text, name, encoding)
    listing = _core.sentences(path, content, name, encoding, segmented, _tables_of(tables))
    _warn(listing, stacklevel=3)
    return listing["sentences"]


def cases(text, *, classes=None, extract=None, features="1-8", values="codes", tables=None, encoding="auto",
          name=None, **options):
    """The cases of ``text``: a DataFrame with the columns of the CSV layout
    with ids, ``text``, ``sentence``, the code of each feature (with
    ``values="raw"``, its raw value, in a column named ``<name>_raw``),
    ``class`` (a str, None for a sentence without one).  ``classes`` is a
    classes file; ``extract`` a reference extract to make the classes from;
    neither: an unlabelled text.  ``options``: class_values, strict_classes,
    extract_encoding, min_overlap, allow_unmatched, extract_lines, and
    segmented (the text holds one sentence a line)."""
    if classes is not None and extract is not None:
        raise Error("cases takes the classes from a classes file or from an extract, not both")
    path, content, name, encoding = _text_args(text, name, encoding)
    columns = _core.cases(path, content, name, _path_or_empty(classes), _path_or_empty(extract),
                          _options(features, encoding, values=values, **options), _tables_of(tables))
    return _frame(columns)


def corpus(manifest_or_rows, *, jobs=None, features="1-8", values="codes", tables=None, encoding="auto",
           **options):
    """The cases of every text of a batch manifest (or of rows of
    ``(text, classes)``) in one DataFrame, as ``cases`` gives them (codes
    or raw ``values``), in
    manifest order; the ``text`` column (the text as the manifest spells it)
    is the group for ``GroupKFold``.  ``jobs``: worker threads, one per core
    when None."""
    manifest, rows = _manifest_args(manifest_or_rows)
    return _frame(_core.corpus(manifest, rows, _options(features, encoding, values=values, **options),
                               _jobs(jobs), _tables_of(tables)))


@dataclass
class Summary:
    """A summary: the numbers (from 1) of the sentences chosen, in text
    order; the extract, one sentence a line; each sentence's score."""

    chosen: list
    extract: str
    scores: list


def summarize(text, *, scores=None, model=None, method=None, rate=None, sentences=None, selection="top",
              tables=None, encoding="auto", segmented=False, name=None):
    """The summary of ``text`` by one score per sentence: ``scores`` given,
    the probabilities of a ``model`` (the file ``train`` writes), or those
    of a ``method`` (``"textrank"``, ``"feature:7"``: as
    ``casewright-cli summarize --method`` names them).  It takes ``sentences`` sentences or a ``rate`` of
    them, the best ones (``selection="top"``), ties to the earlier."""
    if sum(given is not None for given in (scores, model, method)) != 1:
        raise Error("summarize needs one of scores, model or method")
    if (rate is None) == (sentences is None):
        raise Error("summarize needs rate or sentences")
    if selection != "top":
        raise Error(f"selection: {selection} is not top")
    if sentences is not None and sentences < 1:
        raise Error("sentences must be at least 1")
    scores = [] if scores is None else [float(score) for score in scores]
    for number, score in enumerate(scores, start=1):
        # The choice sorts by score: a NaN would have no place in the order.
        if not math.isfinite(score):
            raise Error(f"scores: the score of sentence {number}, {score}, is not a number")
    path, content, name, encoding = _text_args(text, name, encoding)
    summary = _core.summarize(path, content, name, scores,
                              _path_or_empty(model), method, 0.0 if rate is None else float(rate), sentences or 0,
                              encoding, segmented, _tables_of(tables))
    return Summary(summary["chosen"], summary["extract"], summary["scores"])


def _read_table(csv, names):
    return pd.read_csv(io.StringIO(csv), dtype={name: str for name in names}, keep_default_na=False,
                       na_values=[""])


def _evaluation_frames(table):
    """The figures, and with them the comparisons when they were asked for."""
    _warn(table)
    figures = _read_table(table["csv"], ("text", "system"))
    if "comparisons" not in table:
        return figures
    return figures, _read_table(table["comparisons"], ("system", "other", "figure"))


def _resamples(bootstrap):
    return _core.default_resamples if bootstrap is None else bootstrap


def evaluate(manifest_or_rows, *, rate=None, baselines=("lead", "random"), seed=None, stem=True, systems=None,
             bootstrap=None, compare=False, tables=None, encoding="auto", **options):
    """The figures of summaries against their references, as
    ``casewright-cli evaluate --format csv`` writes them: a row per text and
    system (its baselines after it), then a mean row per system.  The
    manifest is evaluate's (text, reference, system...), or rows of those
    fields, the systems then named by ``systems``; a system given as a
    sequence of numbers is its scores, one per sentence.

    The mean rows have the 95 % intervals of ``bootstrap`` resamples of the
    texts (1,000 when None; 0: none).  With ``compare``, the result is a
    pair: the figures, and the paired comparisons of every system with its
    baselines and with the others, as ``--compare`` writes them."""
    unknown = set(baselines) - {"lead", "random"}
    if unknown:
        raise Error(f"baselines: {', '.join(sorted(unknown))} is not lead or random")
    with _ScoreFiles() as score_files:
        rows = None
        manifest = ""
        if isinstance(manifest_or_rows, (str, os.PathLike)):
            manifest = os.fspath(manifest_or_rows)
        else:
            lines = ["#" + "\t".join(["text", "reference", *systems]) + "\n"] if systems else []
            lines += ["\t".join(map(score_files.field, row)) + "\n" for row in manifest_or_rows]
            rows = "".join(lines).encode("utf-8")
        table = _core.evaluate(manifest, rows, 0.0 if rate is None else float(rate), "lead" in baselines,
                               "random" in baselines, _core.default_seed if seed is None else seed, not stem,
                               _resamples(bootstrap), compare, _options(encoding=encoding, **options),
                               _tables_of(tables))
    return _evaluation_frames(table)


class _ScoreFiles:
    """The scores given to evaluate as numbers, each held in a file in
    memory that a scores: field names, for as long as the evaluation runs."""

    def __init__(self):
        self._descriptors = []

    def field(self, value):
        if isinstance(value, (str, os.PathLike)):
            return os.fspath(value)
        descriptor = os.memfd_create("casewright-scores")
        self._descriptors.append(descriptor)
        os.write(descriptor, "".join(f"{float(score)!r}\n" for score in value).encode("ascii"))
        return f"scores:/dev/fd/{descriptor}"

    def __enter__(self):
        return self

    def __exit__(self, *_):
        for descriptor in self._descriptors:
            os.close(descriptor)


def _learner_args(rounds, depth, seed, jobs):
    return rounds, depth, _core.default_seed if seed is None else seed, _jobs(jobs)


def _xgboost():
    try:
        import xgboost
    except ImportError:
        return None
    return xgboost


def train(manifest_or_rows, *, model=None, features="1-8", rounds=100, depth=4, seed=None, jobs=None,
          tables=None, encoding="auto", **options):
    """Trains the model that scores sentences on the texts of a batch
    manifest (or rows), as ``casewright-cli train`` does, and writes it to
    ``model`` when given.  Returns an ``xgboost.Booster`` when Python's
    xgboost imports, else the model's path."""
    xgboost = _xgboost()
    if xgboost is None and model is None:
        raise Error("model: give the file to write the model to (Python's xgboost is not installed)")
    manifest, rows = _manifest_args(manifest_or_rows)
    with tempfile.TemporaryDirectory() as folder:
        path = _path_or_empty(model) or os.path.join(folder, "model.json")
        trained = _core.train(manifest, rows, path, _options(features, encoding, **options),
                              *_learner_args(rounds, depth, seed, jobs), _tables_of(tables))
        _warn(trained, stacklevel=3)
        return path if xgboost is None else xgboost.Booster(model_file=path)


def crossval(manifest_or_rows, *, folds=10, rate=0.2, features="1-8", rounds=100, depth=4, seed=None, jobs=None,
             bootstrap=None, compare=False, tables=None, encoding="auto", **options):
    """Cross-validates the learner grouped by text, as
    ``casewright-cli crossval --format csv`` does: per text the rows model,
    lead and random, then a mean row per system; ``bootstrap`` and
    ``compare`` as for ``evaluate``."""
    manifest, rows = _manifest_args(manifest_or_rows)
    table = _core.crossval(manifest, rows, folds, float(rate), _resamples(bootstrap), compare,
                           _options(features, encoding, **options), *_learner_args(rounds, depth, seed, jobs),
                           _tables_of(tables))
    return _evaluation_frames(table)
