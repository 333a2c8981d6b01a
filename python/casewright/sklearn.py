"""casewright for scikit-learn: the sentence features of texts as a
transformer, so that a Pipeline goes from texts to a classifier of their
sentences."""

from concurrent.futures import ThreadPoolExecutor

import numpy as np
from sklearn.base import BaseEstimator, TransformerMixin

from . import cases


class SentenceFeatures(TransformerMixin, BaseEstimator):
    """Texts (paths, bytes or str, as ``casewright.cases`` takes them) to
    the matrix of their sentences' feature codes (with ``values="raw"``,
    their raw values), a row per sentence, the texts' sentences one after
    the other; with ``segmented``, each text holds one sentence a line.

    After ``transform``, ``groups_`` holds the index of each row's text, the
    groups for ``GroupKFold``: the sentences of one text share its word
    statistics and must not be split between training and test.  The texts
    are run on ``jobs`` threads (one when None)."""

    def __init__(self, features="1-8", values="codes", segmented=False, encoding="auto", tables=None, jobs=None):
        self.features = features
        self.values = values
        self.segmented = segmented
        self.encoding = encoding
        self.tables = tables
        self.jobs = jobs

    def fit(self, texts, y=None):
        return self

    def _codes(self, text):
        frame = cases(text, features=self.features, values=self.values, segmented=self.segmented,
                      encoding=self.encoding, tables=self.tables)
        return frame.iloc[:, 2:-1].to_numpy()

    def transform(self, texts):
        texts = list(texts)
        with ThreadPoolExecutor(max_workers=self.jobs or 1) as pool:
            matrices = list(pool.map(self._codes, texts))
        self.groups_ = np.repeat(np.arange(len(texts)), [len(matrix) for matrix in matrices])
        return np.vstack(matrices) if matrices else np.empty((0, 0), dtype=np.int64)

    def groups(self, texts):
        """The index of each sentence's text, as ``transform`` leaves it in
        ``groups_``."""
        self.transform(texts)
        return self.groups_
