#!/usr/bin/env bash
# Runs the benchmarks: the native ones (Google Benchmark, simulated machine)
# and the Windows timing harnesses under Wine. Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
shopt -s nullglob
for b in build/bench/tests/bench/*_bench; do echo "=== $(basename "$b")"; "$b"; done
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
for b in build/windows/tests/*_winbench.exe; do echo "=== $(basename "$b")"; cmake/wine-run.sh "$b"; done
echo "=== removal_time (the removal's own time on the usual machine)"
KORVALEND_BUILD=$PWD/build/windows KORVALEND_SOURCE=$PWD bash tests/bench/removal_time.sh
