#!/bin/sh
# How much faster a batch runs on more worker threads: a manifest of TEXTS
# texts of the speed corpus (bench/make_corpus.sh; real Portuguese prose, 2
# to 50 KB a text), run start to exit with --jobs 1 and with --jobs N, each
# the median of several runs, alternating, in two forms:
#   combined:  every case to one --combined file in memory (/dev/shm when
#              there is one), every line's output field left empty, so that
#              no per-text file is written;
#   per-text:  each text its own output, all in one folder on disk ($TMPDIR).
# Prints wall and processor (user + system) time for each: on a busy machine
# the wall time also counts the waits for a core, and the processor time
# shows whether a second thread shares the work or adds to it.  Prints the
# load average before and after.
#
#   bench/batch_speedup.sh [BUILD_DIR] [JOBS] [RUNS] [TEXTS]    (build, 2, 5, 3000)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
jobs=${2:-2}
runs=${3:-5}
texts=${4:-3000}
cli=$build/bin/casewright-cli
[ -x "$cli" ] || { echo "batch_speedup.sh: no $cli (build first)" >&2; exit 1; }
corpus=$(sh "$root/bench/make_corpus.sh")

work=$(mktemp -d)
memory=$work
[ -d /dev/shm ] && memory=$(mktemp -d /dev/shm/casewright-batch.XXXXXX)
trap 'rm -rf "$work" "$memory"' EXIT
printf '1 0 1\n' > "$work/classes"
# manifest FILE [FOLDER]: TEXTS lines of corpus texts, outputs in FOLDER,
# or none without it.
manifest() {
  [ -z "${2:-}" ] || mkdir -p "$2"
  ls "$corpus" | head -n "$texts" | awk -v c="$corpus" -v k="$work/classes" -v o="${2:-}" \
    '{ printf "%s/%s\t%s\t", c, $1, k; if (o != "") printf "%s/%d.cases", o, NR; printf "\n" }' > "$1"
}
manifest "$work/combined.tsv"
manifest "$work/per-text.tsv" "$work/out"

# "wall user+system" seconds of one batch: $1 the form, $2 the jobs.
seconds() {
  if [ "$1" = combined ]; then set -- "$1" "$2" --combined "$memory/all.cases"; fi
  form=$1 n=$2
  shift 2
  /usr/bin/time -f '%e %U %S' -o "$work/time" \
    "$cli" batch "$work/$form.tsv" --jobs "$n" --tables "$build/share/casewright/tables" "$@" >/dev/null 2>&1
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for form in combined per-text; do
  seconds "$form" 1 >/dev/null  # warms the file cache
  : > "$work/one"
  : > "$work/many"
  r=0
  while [ $r -lt "$runs" ]; do
    seconds "$form" 1 >> "$work/one"
    seconds "$form" "$jobs" >> "$work/many"
    r=$((r + 1))
  done
  one=$(median < "$work/one")
  many=$(median < "$work/many")
  one_cpu=$(cut -d' ' -f2 "$work/one" | median)
  many_cpu=$(cut -d' ' -f2 "$work/many" | median)
  awk -v form="$form" -v one="$one" -v many="$many" -v oc="$one_cpu" -v mc="$many_cpu" -v jobs="$jobs" \
      -v runs="$runs" -v texts="$texts" 'BEGIN {
    printf "%s, %d texts, median of %d runs: --jobs 1 %.2f s (processor %.2f s), --jobs %d %.2f s (processor %.2f s), %.2f times as fast\n",
           form, texts, runs, one, oc, jobs, many, mc, one / many }'
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
