"""SentenceFeatures in a scikit-learn Pipeline, with grouped folds."""

import pathlib

import numpy as np
from sklearn.linear_model import LogisticRegression
from sklearn.model_selection import GroupKFold, cross_val_score
from sklearn.pipeline import Pipeline

import casewright
from casewright.sklearn import SentenceFeatures
from conftest import TEXTS


def test_features_and_groups_of_texts(examples):
    texts = [pathlib.Path(f"{name}.txt") for name in TEXTS]
    features = SentenceFeatures(jobs=2)
    matrix = features.fit_transform(texts)
    frame = casewright.corpus("corpus.tsv")
    assert (matrix == frame.iloc[:, 2:-1].to_numpy()).all()
    assert list(np.bincount(features.groups_)) == list(frame.groupby("text", sort=False).size())

    labels = frame["class"].astype(int).to_numpy()
    pipeline = Pipeline([("features", SentenceFeatures()), ("model", LogisticRegression(max_iter=1000))])
    pipeline.fit(texts, labels)
    assert pipeline.predict(texts).shape == labels.shape
    scores = cross_val_score(LogisticRegression(max_iter=1000), matrix, labels, groups=features.groups_,
                             cv=GroupKFold(n_splits=3))
    assert len(scores) == 3
