#!/usr/bin/env bash
# Builds every configuration and runs all test tiers:
#   native       unit + contract tests on the simulated machine
#   native-asan  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   windows      korvalend.exe and the contract tests (MinGW-w64), run under
#                Wine, plus the end-to-end scenarios in fresh Wine prefixes
#   release      scripts/release.sh from a copy of the tree in another folder:
#                the same executables as the windows build, the zip as its
#                SHA256SUMS lists it
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
passed=0
failed=0
log=$(mktemp)
for preset in native native-asan windows; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log" || true
  # ctest's summary: "NN% tests passed, F tests failed out of T"
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -z "$summary" ]; then
    status=1
    continue
  fi
  f=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  t=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
  passed=$((passed + t - f))
  failed=$((failed + f))
  [ "$f" -eq 0 ] || status=1
done
rm -f "$log"

# A second build of this tree, released from another folder: the same
# executables as build/windows, and a zip that matches its SHA256SUMS.
echo "=== release (reproducible executables, zip against SHA256SUMS) ==="
if bash tests/release/reproducible.sh build/windows; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi

if [ -x scripts/fuzz.sh ]; then
  echo "=== fuzz (short runs) ==="
  if bash scripts/fuzz.sh 20; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi
fi
echo
echo "$passed passed, $failed failed"
exit $status
