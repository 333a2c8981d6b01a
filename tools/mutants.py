#!/usr/bin/env python3
"""Plants one-line bugs one at a time and tells which ones the tests catch.

    tools/mutants.py [--list tools/mutants.tsv] [--build build-mutants] [--only N,M] [--tests REGEX]

The list is a UTF-8 file of tab-separated lines, `path<TAB>old<TAB>new`: in
the file at `path` (relative to the top of the repository), the text `old`,
which must occur exactly once, becomes `new`.  Blank lines and lines starting
with # are skipped.  For each change the tool plants it, rebuilds, runs every
test (stopping at the first failure), puts the file back as it was, and
prints one line: caught, NOT CAUGHT, or skipped with the reason (a text that
no longer occurs, or a change that does not compile).  A change caught only
by a test running out of time says so, since on a busy machine a slow test
can time out with no bug planted.  The file is put back
even when the tool is interrupted.  The tests must pass on the unchanged
tree first, or every change would look caught.  The closing line counts them; the exit
status is 0 when every planted change that compiled was caught.
"""

import argparse
import pathlib
import shutil
import signal
import subprocess
import sys

TOP = pathlib.Path(__file__).resolve().parent.parent


class Mutant:
    def __init__(self, number, line_number, path, old, new):
        self.number = number
        self.line_number = line_number
        self.path = path
        self.old = old
        self.new = new

    def label(self):
        return f"{self.number:3d} {self.path}: {self.old.strip()!r} -> {self.new.strip()!r}"


def read_list(list_path):
    mutants = []
    for line_number, line in enumerate(list_path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 3 or not fields[1]:
            sys.exit(f"{list_path}:{line_number}: want path<TAB>old<TAB>new, got {len(fields)} fields")
        mutants.append(Mutant(len(mutants) + 1, line_number, *fields))
    return mutants


def run(command, log):
    return subprocess.run(command, cwd=TOP, stdout=log, stderr=subprocess.STDOUT).returncode == 0


def configure(build, log):
    if (TOP / build / "build.ninja").exists():
        return True
    command = ["cmake", "-S", ".", "-B", build, "-G", "Ninja", "-DCASEWRIGHT_BUILD_BENCH=OFF",
               "-DCMAKE_UNITY_BUILD=OFF"]
    # Each change recompiles one file (not its unity batch); ccache turns the
    # rebuild after the file is put back into a copy.
    if shutil.which("ccache"):
        command.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    return run(command, log)


def run_tests(build, tests, log):
    """Returns 'passed', 'failed' or 'timed out' (no failure but a timeout)."""
    command = ["ctest", "--test-dir", build, "--stop-on-failure", "-j2", "--timeout", "300"]
    if tests:
        command += ["-R", tests]
    result = subprocess.run(command, cwd=TOP, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    log.write(result.stdout)
    log.flush()
    if result.returncode == 0:
        return "passed"
    failures = [line for line in result.stdout.splitlines() if "***" in line or "(Failed)" in line]
    return "timed out" if failures and all("Timeout" in line for line in failures) else "failed"


def try_mutant(mutant, build, tests, log):
    """Returns 'caught', 'NOT CAUGHT' or 'skipped: why'."""
    source = TOP / mutant.path
    if not source.is_file():
        return "skipped: no such file"
    original = source.read_bytes()
    text = original.decode("utf-8")
    count = text.count(mutant.old)
    if count != 1:
        return f"skipped: the old text occurs {count} times"
    # Restores the file whatever ends the tool: an exception, Ctrl-C or kill.
    restore = lambda *_: (source.write_bytes(original), sys.exit(130))
    previous = {s: signal.signal(s, restore) for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)}
    try:
        source.write_bytes(text.replace(mutant.old, mutant.new).encode("utf-8"))
        if not run(["cmake", "--build", build], log):
            return "skipped: does not compile"
        outcome = run_tests(build, tests, log)
        if outcome == "passed":
            return "NOT CAUGHT"
        return "caught: by a timeout only" if outcome == "timed out" else "caught"
    finally:
        source.write_bytes(original)
        for s, handler in previous.items():
            signal.signal(s, handler)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", default="tools/mutants.tsv")
    parser.add_argument("--build", default="build-mutants")
    parser.add_argument("--only", help="the numbers of the changes to try, separated by commas")
    parser.add_argument("--tests", help="run only the tests whose names match this regular expression")
    options = parser.parse_args()
    mutants = read_list(TOP / options.list)
    if options.only:
        wanted = {int(n) for n in options.only.split(",")}
        mutants = [m for m in mutants if m.number in wanted]
    log_path = TOP / options.build / "mutants.log"
    log_path.parent.mkdir(parents=True, exist_ok=True)
    with open(log_path, "w") as log:
        if not configure(options.build, log) or not run(["cmake", "--build", options.build], log):
            sys.exit(f"the unchanged tree does not build: see {log_path}")
        # A test that fails anyway would count every change as caught.
        if run_tests(options.build, options.tests, log) != "passed":
            sys.exit(f"the tests fail on the unchanged tree: see {log_path}")
        counts = {"caught": 0, "NOT CAUGHT": 0, "skipped": 0}
        for mutant in mutants:
            print(f"== {mutant.label()}", file=log, flush=True)
            verdict = try_mutant(mutant, options.build, options.tests, log)
            counts[verdict.split(":")[0]] += 1
            print(f"{verdict:12s} {mutant.label()}", flush=True)
        # Leaves the build as the unchanged tree has it.
        run(["cmake", "--build", options.build], log)
    tried = counts["caught"] + counts["NOT CAUGHT"]
    share = 100 * counts["caught"] / tried if tried else 0
    print(f"Mutants: {counts['caught']} caught, {counts['NOT CAUGHT']} not caught, "
          f"{counts['skipped']} skipped, of {len(mutants)}; {share:.0f} % caught")
    return 0 if counts["NOT CAUGHT"] == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
