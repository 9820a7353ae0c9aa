#!/usr/bin/env bash
# Builds every configuration and runs all test tiers:
#   native       unit + contract tests on the simulated machine
#   native-asan  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   windows      korvalend.exe and the contract tests (MinGW-w64), run under
#                Wine, plus the end-to-end scenarios in fresh Wine prefixes
#   fuzz         short libFuzzer runs (clang)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$jobs}

# One Wine prefix and one wineserver for all the contract tests of this run.
export KORVALEND_WINEPREFIX=${KORVALEND_WINEPREFIX:-$PWD/build/wineprefix}
cleanup() { WINEPREFIX=$KORVALEND_WINEPREFIX /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; }
trap cleanup EXIT

status=0
for preset in native native-asan windows; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" || status=1
done

if [ -x scripts/fuzz.sh ]; then
  echo "=== fuzz (short runs) ==="
  bash scripts/fuzz.sh 20 || status=1
fi
exit $status
