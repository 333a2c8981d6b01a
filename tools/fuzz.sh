#!/usr/bin/env bash
# Runs each libFuzzer target of build-fuzz for SECONDS (default 60), two at a
# time, from the seeds in fuzz/corpus/<target>; fails when a target finds an
# input that breaks a property or crashes (kept as build-fuzz/findings/*).
#   tools/fuzz.sh [SECONDS] [TARGET...]
# The working corpus grows in build-fuzz/corpus/<target>, so a later run goes
# on from where the last one stopped.  The targets write their files under
# TMPDIR, which is /dev/shm when it exists.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_run fuzz_classes fuzz_table_open fuzz_table_sources fuzz_manifest fuzz_shard_index)
[ -d /dev/shm ] && export TMPDIR=/dev/shm
mkdir -p build-fuzz/findings build-fuzz/logs

run_one() {
  local target=$1
  mkdir -p "build-fuzz/corpus/$target"
  build-fuzz/bin/"$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$target-" \
    "build-fuzz/corpus/$target" "fuzz/corpus/$target" > "build-fuzz/logs/$target.log" 2>&1
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
      echo "$target: $(grep -m1 'number_of_executed_units' "build-fuzz/logs/$target.log" | awk '{print $2}') executions, no finding"
    else
      echo "$target: FINDING, see build-fuzz/logs/$target.log"
      tail -n 30 "build-fuzz/logs/$target.log"
      status=1
    fi
  done
done
exit $status
