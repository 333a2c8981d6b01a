#!/bin/sh
# How much faster a batch runs on more worker threads: a manifest of 1,000
# entries (the three bundled texts in turn, each entry its own output, the
# outputs spread over FOLDERS folders), run start to exit with --jobs 1 and
# with --jobs N, each the median of several runs, alternating.  Prints the
# load average before and after, since other work on the machine skews the
# figures.  The outputs go under $TMPDIR (default /tmp).
#
#   bench/batch_speedup.sh [BUILD_DIR] [JOBS] [RUNS] [FOLDERS]    (build, 2, 5, 1)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
jobs=${2:-2}
runs=${3:-5}
folders=${4:-1}
cli=$build/bin/casewright-cli
[ -x "$cli" ] || { echo "batch_speedup.sh: no $cli (build first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
f=0
while [ $f -lt "$folders" ]; do mkdir "$work/out$f"; f=$((f + 1)); done
i=0
while [ $i -lt 1000 ]; do
  for name in example faq-debian foca-seguranca; do
    [ $i -lt 1000 ] || break
    base=$root/data/examples/$name
    printf '%s.txt\t%s.classes\tout%d/%d.cases\n' "$base" "$base" $((i % folders)) $i
    i=$((i + 1))
  done
done > "$work/manifest.tsv"

# Seconds of one batch with $1 jobs, start to exit.
seconds() {
  start=$(date +%s.%N)
  "$cli" batch "$work/manifest.tsv" --jobs "$1" --tables "$build/share/casewright/tables" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
seconds 1 >/dev/null  # warms the file cache
: > "$work/one"
: > "$work/many"
r=0
while [ $r -lt "$runs" ]; do
  seconds 1 >> "$work/one"
  seconds "$jobs" >> "$work/many"
  r=$((r + 1))
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
one=$(median < "$work/one")
many=$(median < "$work/many")
awk -v one="$one" -v many="$many" -v jobs="$jobs" -v runs="$runs" 'BEGIN {
  printf "1,000 texts, median of %d runs: --jobs 1 %.2f s, --jobs %d %.2f s, %.2f times as fast\n",
         runs, one, jobs, many, one / many }'
