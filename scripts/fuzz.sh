#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 20). Corpora are kept under build/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
shopt -s nullglob
status=0
for target in build/fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=tests/fuzz/seeds/$name
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "--- $name: ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "${args[@]}" 2>&1 | tail -n 12 || status=1
done
exit $status
