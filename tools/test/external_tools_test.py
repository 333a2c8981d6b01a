#!/usr/bin/env python3
"""Check casewright-cli with the tools people run it with: learners and GNU parallel.

Usage: external_tools_test.py CHECK CLI EXAMPLES_DIR TABLES_DIR
CHECK is one of:
  weka      Weka's J48 trains on the ARFF of the bundled texts with every case
            read, and Weka's C4.5 loader reads the names file with the cases;
            J48 trained on the ARFF with ids (through FilteredClassifier,
            which removes them) predicts an unlabelled text's classes, each
            printed beside its ids
  sklearn   scikit-learn fits a decision tree on the CSV of the bundled texts,
            cross-validates one grouped by text on the CSV with ids, and
            predicts an unlabelled text's classes
  summaries scikit-learn's and Weka's scores of a text turn into an extract
            (summarize), scored against its classes (evaluate), as the
            README shows
  xgboost   a model trained by casewright-cli train, loaded by Python's
            XGBoost, gives the probabilities summarize --model writes, from
            the CSV of the same text, and the total gains train stores
  crossval  the README's cross-validation of the bundled texts: its
            out-of-fold scores, read back by evaluate, give the model's
            figures of repeat 1; its folds, reused, give the same rows; its
            AUC and average precision are scikit-learn's of the same scores
  parallel  GNU parallel runs two shards of a manifest as the README shows
            (--sshlogin, the local machine standing in for two), and the
            joined shards equal the combined file of a one-job batch

Exits 0 when the check passes, 1 when it fails, and 77 (a skip for ctest)
when the tool it needs is missing, unless CASEWRIGHT_REQUIRE_TOOLS=1 (set by
CI): then a missing tool fails.
"""

import csv
import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
TEXTS = ["example", "faq-debian", "foca-seguranca"]
WEKA_JAR = "/usr/share/java/weka.jar"


def missing(tool, package):
    message = f"{tool} is missing (Debian package {package})"
    if os.environ.get("CASEWRIGHT_REQUIRE_TOOLS") == "1":
        sys.exit(f"FAIL: {message}, and CASEWRIGHT_REQUIRE_TOOLS=1 requires it")
    print(f"SKIP: {message}")
    sys.exit(SKIP)


def fail(message):
    sys.exit(f"FAIL: {message}")


def run(command, **kwargs):
    result = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        fail(f"{' '.join(command)} exited {result.returncode}:\n{result.stdout}{result.stderr}")
    return result.stdout + result.stderr


class Corpus:
    """A manifest of the bundled texts in a temporary folder."""

    def __init__(self, cli, examples, tables, folder):
        self.cli, self.tables, self.folder, self.examples = cli, tables, folder, os.path.abspath(examples)
        self.manifest = os.path.join(folder, "corpus.tsv")
        with open(self.manifest, "w", encoding="utf-8") as out:
            for i, name in enumerate(TEXTS * 2):
                base = os.path.join(examples, name)
                out.write(f"{base}.txt\t{base}.classes\tout-{i}.cases\n")

    def batch(self, *options):
        """Runs the batch; returns how many cases it wrote."""
        output = run([self.cli, "batch", self.manifest, "--tables", self.tables, *options])
        return int(re.search(r"; (\d+) cases", output).group(1))

    def path(self, name):
        return os.path.join(self.folder, name)

    def unlabelled(self, output, *options):
        """Writes the cases of the first bundled text without its classes; returns how many."""
        text = os.path.join(self.examples, TEXTS[0] + ".txt")
        report = run([self.cli, "--text", text, "--output", output, "--tables", self.tables, *options])
        if "warning" in report:
            fail(f"an unlabelled text warned:\n{report}")
        return text, int(re.search(r"Wrote (\d+) cases", report).group(1))


def header_of(path, relation=True):
    """The lines of an ARFF header, without its @relation line when asked."""
    with open(path, encoding="utf-8") as arff:
        lines = arff.read().split("@data\n")[0].splitlines()
    return lines if relation else lines[1:]


def check_weka(corpus):
    if not shutil.which("java") or not os.path.exists(WEKA_JAR):
        missing("Java or Weka", "default-jre-headless and weka")
    cases = corpus.batch("--format", "arff", "--combined", corpus.path("all.arff"))
    # Weka exits 0 even when it could not load a file: read its report.
    report = run(["java", "-cp", WEKA_JAR, "weka.classifiers.trees.J48", "-t", corpus.path("all.arff"),
                  "-x", "10", "-o", "-v"])
    instances = re.search(r"Total Number of Instances\s+(\d+)", report)
    if "Exception" in report or not instances or int(instances.group(1)) != cases:
        fail(f"J48 did not train on the {cases} cases:\n{report}")
    print(f"ok: J48 cross-validated on all {cases} cases of the ARFF file")

    # Weka's C4.5 loader takes the names file, but reads the blank that the
    # Quinlan layout writes after each comma as part of the next value, so
    # it is given the same cases without those blanks.
    cases = corpus.batch("--format", "quinlan", "--combined", corpus.path("all.data"),
                         "--names", corpus.path("all.names"))
    with open(corpus.path("all.data"), encoding="ascii", newline="") as data:
        quinlan = data.read()
    os.mkdir(corpus.path("weka"))
    shutil.copy(corpus.path("all.names"), corpus.path("weka/all.names"))
    with open(corpus.path("weka/all.data"), "w", encoding="ascii", newline="") as data:
        data.write(quinlan.replace(", ", ","))
    arff = run(["java", "-cp", WEKA_JAR, "weka.core.converters.C45Loader", corpus.path("weka/all.names")])
    attributes = re.findall(r"^@attribute (\S+) \{(.*)\}$", arff, re.M)
    expected = [("size", "1,2,3,4"), ("text_location", "1,2,3"), ("paragraph_location", "1,2,3"),
                ("keyword", "0,1"), ("gist_word", "0,1"), ("distribution_weight", "1,2,3,4"),
                ("tf_isf", "1,2,3,4"), ("cue_phrase", "0,1"), ("Class", "0,1")]
    rows = re.findall(r"^\d(,\d)+$", arff, re.M)
    if "Exception" in arff or attributes != expected or len(rows) != cases:
        fail(f"Weka's C4.5 loader read {len(rows)} of {cases} cases, attributes {attributes}:\n{arff[-2000:]}")
    print(f"ok: Weka's C4.5 loader read the names file and all {cases} cases")

    # The README's form: J48 learns from the cases with ids, which the filter
    # removes, and predicts an unlabelled text whose header is the training
    # file's (the relation's name aside); -p 1,2 prints the ids beside each.
    corpus.batch("--format", "arff", "--ids", "--class-values", "0,1", "--combined", corpus.path("train.arff"))
    text, sentences = corpus.unlabelled(corpus.path("test.arff"), "--format", "arff", "--ids",
                                        "--class-values", "0,1")
    if header_of(corpus.path("test.arff"), False) != header_of(corpus.path("train.arff"), False):
        fail("the unlabelled text's ARFF header differs from the training file's")
    report = run(["java", "-cp", WEKA_JAR, "weka.classifiers.meta.FilteredClassifier",
                  "-t", corpus.path("train.arff"), "-T", corpus.path("test.arff"), "-p", "1,2",
                  "-F", "weka.filters.unsupervised.attribute.Remove -R 1,2", "-W", "weka.classifiers.trees.J48"])
    predictions = re.findall(r"^\s*(\d+)\s+\d:\?\s+\d:([01])\s.*\((.*),(\d+)\)$", report, re.M)
    expected = [(str(n), text, str(n)) for n in range(1, sentences + 1)]
    if "Exception" in report or [(i, t, n) for i, _, t, n in predictions] != expected:
        fail(f"J48 did not predict the {sentences} unlabelled sentences beside their ids:\n{report[-2000:]}")
    print(f"ok: J48 through FilteredClassifier predicted all {sentences} unlabelled sentences beside their ids")


def check_sklearn(corpus):
    try:
        from sklearn.tree import DecisionTreeClassifier
    except ImportError:
        missing("scikit-learn", "python3-sklearn")
    import csv

    cases = corpus.batch("--format", "csv", "--combined", corpus.path("all.csv"))
    with open(corpus.path("all.csv"), newline="", encoding="ascii") as data:
        rows = list(csv.reader(data))
    header, rows = rows[0], rows[1:]
    if header[-1] != "class" or len(header) != 9 or len(rows) != cases:
        fail(f"header {header}, {len(rows)} rows for {cases} cases")
    features = [[int(code) for code in row[:-1]] for row in rows]
    classes = [row[-1] for row in rows]
    tree = DecisionTreeClassifier(random_state=0).fit(features, classes)
    accuracy = tree.score(features, classes)
    if tree.n_features_in_ != 8 or accuracy < 0.7:
        fail(f"the tree saw {tree.n_features_in_} features, training accuracy {accuracy:.2f}")
    print(f"ok: scikit-learn fitted a tree on all {cases} cases (training accuracy {accuracy:.2f})")

    # The README's form: cross-validation grouped by text, then predictions
    # for an unlabelled text whose header is the training file's.
    from sklearn.model_selection import GroupKFold, cross_val_score

    def read(path):
        with open(path, newline="", encoding="utf-8") as data:
            rows = list(csv.reader(data))
        return rows[0], [row[0] for row in rows[1:]], [row[1] for row in rows[1:]], \
            [[int(code) for code in row[2:-1]] for row in rows[1:]], [row[-1] for row in rows[1:]]

    corpus.batch("--format", "csv", "--ids", "--combined", corpus.path("train.csv"))
    header, groups, _, X, y = read(corpus.path("train.csv"))
    folds = list(GroupKFold(n_splits=3).split(X, y, groups))
    scores = cross_val_score(DecisionTreeClassifier(random_state=0), X, y, groups=groups, cv=GroupKFold(n_splits=3))
    if len(set(groups)) != len(TEXTS) or len(scores) != 3 or any(
            {groups[i] for i in train} & {groups[i] for i in test} for train, test in folds):
        fail(f"GroupKFold saw {len(set(groups))} texts, scores {scores}")
    _, sentences = corpus.unlabelled(corpus.path("test.csv"), "--format", "csv", "--ids", "--class-values", "0,1")
    test_header, _, numbers, test_X, test_y = read(corpus.path("test.csv"))
    predicted = DecisionTreeClassifier(random_state=0).fit(X, y).predict(test_X)
    if test_header != header or len(predicted) != sentences or any(test_y) or \
            numbers != [str(n) for n in range(1, sentences + 1)]:
        fail(f"the unlabelled CSV has the header {test_header}, {len(test_X)} rows for {sentences} sentences")
    print(f"ok: GroupKFold over {len(set(groups))} texts (accuracy {scores.mean():.2f}), and predictions for "
          f"all {sentences} unlabelled sentences")


def check_summaries(corpus):
    try:
        import numpy as np
        from sklearn.linear_model import LogisticRegression
    except ImportError:
        missing("scikit-learn", "python3-sklearn")
    if not shutil.which("java") or not os.path.exists(WEKA_JAR):
        missing("Java or Weka", "default-jre-headless and weka")
    examples = corpus.examples
    text, classes = os.path.join(examples, "example.txt"), os.path.join(examples, "example.classes")
    # The README's example: trained on two texts, scores for the third.
    for name in TEXTS:
        run([corpus.cli, "--text", os.path.join(examples, name + ".txt"), "--classes",
             os.path.join(examples, name + ".classes"), "--output", corpus.path(name + ".csv"), "--format", "csv",
             "--tables", corpus.tables])
    train = np.vstack([np.loadtxt(corpus.path(t + ".csv"), delimiter=",", skiprows=1) for t in TEXTS[1:]])
    test = np.loadtxt(corpus.path("example.csv"), delimiter=",", skiprows=1)
    model = LogisticRegression(max_iter=1000).fit(train[:, :-1], train[:, -1])
    np.savetxt(corpus.path("sklearn.scores"), model.predict_proba(test[:, :-1])[:, 1], fmt="%.4f")
    # Weka's predictions for the same text: the test file is a batch of that
    # text alone, so that its header declares the class values as the
    # training file's does (first seen in the same text).
    with open(corpus.path("train.tsv"), "w", encoding="utf-8") as out:
        for i, name in enumerate(TEXTS):
            out.write(f"{os.path.join(examples, name)}.txt\t{os.path.join(examples, name)}.classes\tt-{i}\n")
    with open(corpus.path("test.tsv"), "w", encoding="utf-8") as out:
        out.write(f"{text}\t{classes}\ttest-0\n")
    for name in ("train", "test"):
        run([corpus.cli, "batch", corpus.path(name + ".tsv"), "--tables", corpus.tables, "--format", "arff",
             "--combined", corpus.path(name + ".arff")])
    weka = run(["java", "-cp", WEKA_JAR, "weka.classifiers.trees.J48", "-t", corpus.path("train.arff"), "-T",
                corpus.path("test.arff"), "-p", "0", "-distribution"])
    with open(corpus.path("weka.scores"), "w", encoding="utf-8") as out:
        out.write(weka)
    with open(corpus.path("evaluate.tsv"), "w", encoding="utf-8") as out:
        out.write("#text\treference\tsklearn\tweka\n")
        out.write(f"{text}\tclasses:{classes}\tscores:sklearn.scores\tscores:weka.scores\n")
    for scores in ("sklearn.scores", "weka.scores"):
        made = run([corpus.cli, "summarize", "--text", text, "--scores", corpus.path(scores), "--rate", "0.2",
                    "--output", corpus.path("extract"), "--tables", corpus.tables])
        if "Wrote 30 of 151 sentences" not in made:
            fail(f"summarize with {scores}: {made}")
    figures = run([corpus.cli, "evaluate", corpus.path("evaluate.tsv"), "--rate", "0.2", "--format", "csv",
                   "--tables", corpus.tables])
    systems = [line.split(",")[1] for line in figures.splitlines()[1:]]
    if systems[:2] != ["sklearn", "weka"] or "mean" not in figures:
        fail(f"evaluate wrote:\n{figures}")
    print("ok: scikit-learn's and Weka's scores made extracts of the example, and evaluate scored them")


def check_parallel(corpus):
    version = shutil.which("parallel") and subprocess.run(["parallel", "--version"], capture_output=True,
                                                            text=True).stdout
    if not version or "GNU parallel" not in version:
        missing("GNU parallel", "parallel")
    # The README's form, with ":" (this machine) standing in for each host.
    run(["parallel", "--sshlogin", "1/:,1/:", "--workdir", ".", corpus.cli, "batch", "corpus.tsv",
         "--tables", corpus.tables, "--format", "arff", "--shard", "{}/2", "--combined", "shard-{}.arff",
         ":::", "0", "1"], cwd=corpus.folder)
    run([corpus.cli, "join", "shard-0.arff", "shard-1.arff", "--combined", "joined.arff"], cwd=corpus.folder)
    corpus.batch("--jobs", "1", "--format", "arff", "--combined", corpus.path("one-job.arff"))
    with open(corpus.path("joined.arff"), "rb") as joined, open(corpus.path("one-job.arff"), "rb") as one:
        if joined.read() != one.read():
            fail("the joined shards differ from the one-job batch")
    print("ok: two shards run by GNU parallel, joined, equal the one-job batch")


def check_xgboost(corpus):
    """Python's XGBoost gives a trained model's probabilities from the CSV of a text."""
    try:
        import numpy
        import xgboost
    except ImportError:
        missing("Python's XGBoost", "python3-xgboost")
    model = corpus.path("model.json")
    # Each text once: the manifest of the batches names every text twice.
    with open(corpus.manifest, encoding="utf-8") as lines:
        once = lines.readlines()[:len(TEXTS)]
    with open(corpus.path("train.tsv"), "w", encoding="utf-8") as out:
        out.writelines(once)
    run([corpus.cli, "train", corpus.path("train.tsv"), "--tables", corpus.tables, "--model", model, "--seed", "3"])
    text = os.path.join(corpus.examples, TEXTS[0] + ".txt")
    scores = corpus.path("scores.txt")
    run([corpus.cli, "summarize", "--model", model, "--text", text, "--tables", corpus.tables, "--rate", "0.2",
         "--scores-output", scores, "--output", corpus.path("extract.txt")])
    run([corpus.cli, "--text", text, "--tables", corpus.tables, "--format", "csv", "--output", corpus.path("t.csv")])
    with open(corpus.path("t.csv"), newline="", encoding="ascii") as data:
        rows = list(csv.reader(data))
    header, rows = rows[0], rows[1:]
    features = numpy.array([[float(code) for code in row[:-1]] for row in rows])
    predicted = xgboost.Booster(model_file=model).predict(xgboost.DMatrix(features, feature_names=header[:-1]))
    with open(scores, encoding="ascii") as lines:
        ours = [float(line) for line in lines]
    worst = max(abs(a - b) for a, b in zip(predicted, ours)) if len(ours) == len(predicted) else None
    if worst is None or worst > 1e-6:
        fail(f"{len(ours)} scores against {len(predicted)} predictions, largest difference {worst}")
    print(f"ok: Python's XGBoost gives the {len(ours)} probabilities of summarize --model to within {worst:.1e}")
    # The total gains train stores are XGBoost's own (6 significant digits).
    booster = xgboost.Booster(model_file=model)
    stored = dict(item.split(":") for item in booster.attr("casewright_total_gain").split(","))
    for feature, gain in booster.get_score(importance_type="total_gain").items():
        if abs(float(stored[feature]) - gain) > 1e-5 * max(1.0, gain):
            fail(f"the stored total gain of {feature} is {stored[feature]}, XGBoost's {gain}")
    print(f"ok: the model stores XGBoost's total gain of each of its {len(stored)} features")

    check_methods(corpus, text)


def check_methods(corpus, text):
    """The README's summarisers: an extract by a method, and crossval with every method as a baseline."""
    made = run([corpus.cli, "summarize", "--text", text, "--method", "textrank", "--rate", "0.2", "--selection",
                "mmr", "--output", corpus.path("method.extract"), "--tables", corpus.tables])
    if "Wrote 30 of 151 sentences" not in made:
        fail(f"summarize --method textrank: {made}")
    methods = ["lead", "random", "textrank", "lexrank", "luhn", "sumbasic", "lsa", "oracle"]
    figures = run([corpus.cli, "crossval", corpus.path("train.tsv"), "--folds", "3", "--rate", "0.2", "--seed", "1",
                   "--baselines", ",".join(methods), "--tables", corpus.tables, "--format", "csv"])
    means = {line.split(",")[1]: line.split(",") for line in figures.splitlines() if line.startswith("mean,")}
    if list(means) != ["model"] + methods:
        fail(f"crossval --baselines wrote:\n{figures}")
    rouge2 = figures.splitlines()[0].split(",").index("rouge2_f1")
    if any(float(row[rouge2]) > float(means["oracle"][rouge2]) for row in means.values()):
        fail(f"a method beat the oracle:\n{figures}")
    print("ok: summarize --method and crossval with every method as a baseline, none above the oracle")


def check_crossval(corpus):
    """Out-of-fold scores and folds written by crossval, read back."""
    folder = corpus.path("crossval")
    os.mkdir(folder)
    for name in TEXTS:
        for suffix in (".txt", ".classes"):
            shutil.copy(os.path.join(corpus.examples, name + suffix), folder)
    with open(os.path.join(folder, "corpus.tsv"), "w", encoding="utf-8") as out:
        out.writelines(f"{name}.txt\t{name}.classes\t\n" for name in TEXTS)

    def cli(*arguments):
        return run([corpus.cli, *arguments, "--tables", corpus.tables], cwd=folder)

    def rows(output):
        """The rows of a CSV table on standard output, after any notes."""
        return list(csv.DictReader(output[output.index("text,system"):].splitlines()))

    # The README's commands, in CSV.
    crossval = rows(cli("crossval", "corpus.tsv", "--folds", "2", "--repeats", "5", "--rate", "0.2", "--seed", "1",
                        "--folds-output", "folds.csv", "--scores-output", "scores.csv", "--format", "csv"))
    # The README's two printf lines.
    pairs = " ".join(f"{name}.txt {name}.classes" for name in TEXTS)
    run(["sh", "-c", "printf '#text\\treference\\tmodel\\n' > evaluate.tsv && "
         f"printf '%s\\tclasses:%s\\tscores:scores.csv\\n' {pairs} >> evaluate.tsv"], cwd=folder)
    evaluated = rows(cli("evaluate", "evaluate.tsv", "--rate", "0.2", "--format", "csv"))
    for theirs in (row for row in evaluated if row["system"] == "model" and row["text"] != "mean"):
        ours = next(row for row in crossval if row["text"] == theirs["text"] and row["system"] == "model")
        if ours["repeat"] != "1" or any(ours[column] != value for column, value in theirs.items()):
            fail(f"evaluate of the out-of-fold scores gave {theirs}, crossval {ours}")
    if rows(cli("crossval", "corpus.tsv", "--folds-from", "folds.csv", "--rate", "0.2", "--seed", "1",
                "--ablation", "ablation.csv", "--format", "csv")) != crossval:
        fail("crossval on the folds it wrote gave other rows")
    with open(os.path.join(folder, "ablation.csv"), encoding="ascii") as ablation:
        lines = ablation.read().splitlines()
    shown = ["none,sentence_f1,0.5359,0.4552,0.6571,,,,,",
             "paragraph_location,sentence_f1,0.2982,0.2115,0.3905,-0.2378,-0.2667,-0.2030,0.0000,0.2500"]
    if len(lines) != 1 + 9 * 8 or any(line not in lines for line in shown):
        fail(f"the ablation table is not the README's:\n" + "\n".join(lines))
    print("ok: evaluate reads crossval's out-of-fold scores back to its figures, and the folds reused give its rows")
    try:
        from sklearn.metrics import average_precision_score, roc_auc_score
    except ImportError:
        missing("scikit-learn", "python3-sklearn")
    with open(os.path.join(folder, "scores.csv"), newline="", encoding="utf-8") as lines:
        scores = list(csv.DictReader(lines))
    models = [row for row in crossval if row["system"] == "model" and row["text"] != "mean"]
    for row in models:
        mine = sorted((s for s in scores if s["text"] == row["text"] and s["repeat"] == row["repeat"]),
                      key=lambda s: int(s["sentence"]))
        with open(os.path.join(folder, row["text"].replace(".txt", ".classes")), encoding="ascii") as classes:
            y = [int(c == "1") for c in classes.read().split()]
        p = [float(s["score"]) for s in mine]
        expected = [f"{roc_auc_score(y, p):.4f}", f"{average_precision_score(y, p):.4f}"]
        if [row["auc"], row["average_precision"]] != expected:
            fail(f"{row['text']} repeat {row['repeat']}: AUC and average precision {row['auc']}, "
                 f"{row['average_precision']}; scikit-learn's {expected}")
    print(f"ok: the model's AUC and average precision in its {len(models)} rows are scikit-learn's")


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in ("weka", "sklearn", "summaries", "xgboost", "parallel", "crossval"):
        sys.exit(__doc__.split("\n\n")[1])
    check, cli, examples, tables = sys.argv[1:]
    with tempfile.TemporaryDirectory(prefix="casewright-tools-") as folder:
        corpus = Corpus(os.path.abspath(cli), examples, tables, folder)
        {"weka": check_weka, "sklearn": check_sklearn, "summaries": check_summaries, "xgboost": check_xgboost,
         "parallel": check_parallel, "crossval": check_crossval}[check](corpus)


if __name__ == "__main__":
    main()
