"""The module's speed against the command line's on the same work, wall
time, medians of alternating runs:

  cases    casewright.cases on one text of the speed corpus's texts one
           after the other (about 10 MB), against casewright-cli writing
           the same cases to a CSV (--format csv --ids);
  corpus   casewright.corpus on a manifest of the corpus's first 3,000
           texts with 2 jobs, against `batch --jobs 2 --combined` to a CSV
           in memory (/dev/shm when there is one).

The command line is timed from start to exit, the module's calls with the
default tables already open, as in a notebook.  Without the speed corpus
(bench/make_corpus.sh), the texts are the bundled ones, repeated.

  PYTHONPATH=build/lib/python3/dist-packages /usr/bin/python3 python/bench/speed.py [BUILD_DIR] [RUNS]
"""

import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time
import warnings

import casewright

ROOT = pathlib.Path(__file__).resolve().parents[2]


def corpus_texts():
    cache = pathlib.Path(os.environ.get("XDG_CACHE_HOME", pathlib.Path.home() / ".cache")) / "casewright-corpus"
    texts = cache / "texts"
    if (texts / ".complete").exists():
        return sorted(texts.glob("*.txt")), "the speed corpus"
    bundled = sorted((ROOT / "data" / "examples").glob("*.txt"))
    return [bundled[i % len(bundled)] for i in range(5000)], "the bundled texts repeated"


def timed(work):
    start = time.perf_counter()
    work()
    return time.perf_counter() - start


def compare(name, command, call, runs):
    command_times, call_times = [], []
    call()
    for _ in range(runs):
        command_times.append(timed(lambda: subprocess.run(command, check=True, capture_output=True)))
        call_times.append(timed(call))
    cli, module = statistics.median(command_times), statistics.median(call_times)
    print(f"| {name} | {cli:.3f} s | {module:.3f} s | {module / cli:.2f} |")


def main():
    build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    cli = str(build / "bin" / "casewright-cli")
    # The classes file of every text is the same three classes: the warnings
    # that they do not fit are not the point.
    warnings.simplefilter("ignore", casewright.CasewrightWarning)
    texts, origin = corpus_texts()
    memory = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory() as work, tempfile.TemporaryDirectory(dir=memory) as shm:
        work = pathlib.Path(work)
        big = work / "big.txt"
        with open(big, "wb") as out:
            for text in texts:
                if out.tell() >= 10 << 20:
                    break
                out.write(text.read_bytes() + b"\r\n\r\n")
        classes = work / "classes"
        classes.write_text("1 0 1\n")
        manifest = work / "corpus.tsv"
        manifest.write_text("".join(f"{text}\t{classes}\t\n" for text in texts[:3000]))
        print(f"{origin}; {big.stat().st_size / 1e6:.1f} MB; {runs} runs; load average "
              f"{os.getloadavg()[0]:.2f}")
        print("| Work | Command line | Module | Ratio |\n|---|---:|---:|---:|")
        compare("cases, 10 MB", [cli, "--text", big, "--output", f"{shm}/big.csv", "--format", "csv", "--ids"],
                lambda: casewright.cases(big), runs)
        compare("corpus, 3,000 texts, 2 jobs",
                [cli, "batch", manifest, "--jobs", "2", "--combined", f"{shm}/all.csv", "--format", "csv", "--ids"],
                lambda: casewright.corpus(manifest, jobs=2), runs)


if __name__ == "__main__":
    main()
