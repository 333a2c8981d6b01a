#!/usr/bin/env bash
# Runs each libFuzzer target of the tree FUZZ_BUILD (default build-fuzz) for
# SECONDS (default 60), two at a time, from the seeds in fuzz/corpus/<target>;
# fails when a target finds an input that breaks a property or crashes (kept
# as FUZZ_BUILD/findings/*).
#   tools/fuzz.sh [SECONDS] [TARGET...]    (default: every fuzz_* of the tree)
# The working corpus grows in FUZZ_BUILD/corpus/<target>, so a later run goes
# on from where the last one stopped.  The targets write their files under
# TMPDIR, which is /dev/shm when it exists.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
tree=${FUZZ_BUILD:-build-fuzz}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$tree"/bin/fuzz_*; do targets+=("$(basename "$program")"); done
fi
[ -d /dev/shm ] && export TMPDIR=/dev/shm
mkdir -p "$tree/findings" "$tree/logs"

run_one() {
  local target=$1
  mkdir -p "$tree/corpus/$target"
  "$tree"/bin/"$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$tree/findings/$target-" \
    "$tree/corpus/$target" "fuzz/corpus/$target" > "$tree/logs/$target.log" 2>&1
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    run_one "$target" &
    pids+=($!)
  done
  for j in "${!pids[@]}"; do
    target=${targets[i + j]}
    if wait "${pids[j]}"; then
      echo "$target: $(grep -m1 'number_of_executed_units' "$tree/logs/$target.log" | awk '{print $2}') executions, no finding"
    else
      echo "$target: FINDING, see $tree/logs/$target.log"
      tail -n 30 "$tree/logs/$target.log"
      status=1
    fi
  done
done
exit $status
