#!/usr/bin/env python3
"""Start-to-exit time of casewright-cli's short commands on a 2 KB text.

For a single text the process's start costs as much as the work, so these
figures are what a user running one command on one text waits for:

  version         casewright-cli --version
  plain run       casewright-cli --text T --output O
  summarize       casewright-cli summarize --scores S --text T --rate 0.2
  summarize model casewright-cli summarize --model M --text T --rate 0.2
  true            /bin/true, the cost of starting any process here

The text is the first 2 KB of the bundled example (cut at a sentence end);
the model is trained on the three bundled texts.  Each command runs RUNS
times, alternating, and the median of each is printed, in wall time and in
processor time (user + system, of the child): on a busy machine the wall
time also counts the waits for a core.

  bench/startup_time.py [BUILD_DIR] [RUNS]      (build, 40)
"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLES = os.path.join(ROOT, "data", "examples")
TEXT_BYTES = 2048


def run(command):
    """Runs `command` and returns its wall and processor seconds."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def prepare(cli, work):
    """Writes the 2 KB text, its scores and the model into `work`."""
    with open(os.path.join(EXAMPLES, "example.txt"), "rb") as example:
        text = example.read(TEXT_BYTES)
    with open(os.path.join(work, "t.txt"), "wb") as out:
        out.write(text[: text.rfind(b".") + 1] + b"\n")
    with open(os.path.join(work, "corpus.tsv"), "w") as manifest:
        for name in ("example", "faq-debian", "foca-seguranca"):
            manifest.write(f"{EXAMPLES}/{name}.txt\t{EXAMPLES}/{name}.classes\t\n")
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL, "check": True}
    subprocess.run([cli, "train", f"{work}/corpus.tsv", "--model", f"{work}/m.json"], **quiet)
    subprocess.run([cli, "summarize", "--model", f"{work}/m.json", "--text", f"{work}/t.txt", "--rate", "0.2",
                    "--output", f"{work}/x", "--scores-output", f"{work}/t.scores"], **quiet)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 40
    cli = os.path.join(build, "bin", "casewright-cli")
    if not os.access(cli, os.X_OK):
        sys.exit(f"startup_time.py: no {cli} (build first)")
    with tempfile.TemporaryDirectory() as work:
        prepare(cli, work)
        text, out = f"{work}/t.txt", f"{work}/out"
        commands = {
            "true": ["/bin/true"],
            "version": [cli, "--version"],
            "plain run": [cli, "--text", text, "--output", out],
            "summarize --scores": [cli, "summarize", "--scores", f"{work}/t.scores", "--text", text, "--rate",
                                   "0.2", "--output", out],
            "summarize --model": [cli, "summarize", "--model", f"{work}/m.json", "--text", text, "--rate", "0.2",
                                  "--output", out],
        }
        times = {name: [] for name in commands}
        for _ in range(runs):
            for name, command in commands.items():
                times[name].append(run(command))
    print(f"load average {os.getloadavg()[0]:.2f}; medians of {runs} runs")
    print(f"{'command':<20} {'wall ms':>8} {'processor ms':>13}")
    for name, samples in times.items():
        wall = statistics.median(sample[0] for sample in samples) * 1000
        processor = statistics.median(sample[1] for sample in samples) * 1000
        print(f"{name:<20} {wall:>8.2f} {processor:>13.2f}")


if __name__ == "__main__":
    main()
