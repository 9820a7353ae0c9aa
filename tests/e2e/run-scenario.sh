#!/usr/bin/env bash
# Runs one end-to-end scenario in a fresh Wine prefix:
#   KORVALEND_BUILD=<windows build> KORVALEND_SOURCE=<source> bash run-scenario.sh scenarios/NAME.sh
# Exit code 0 when every check of the scenario passed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
SCENARIO=$(basename "$1" .sh)
for exe in "$KORVALEND_BUILD/korvalend.exe" "$KORVALEND_BUILD/korvalend-plan.exe" "$PROGRAMS/msiexec_shim.exe" \
    "$PROGRAMS/ext_uninstaller.exe" "$PROGRAMS/soffice_standin.exe" "$PROGRAMS/launcher.exe" "$PROGRAMS/mutex_holder.exe"; do
    [ -f "$exe" ] || { echo "missing $exe: build the windows preset first" >&2; exit 1; }
done
# Every run of korvalend.exe is held against its plan.
PLAN_PROOF=1
started=$SECONDS
. "$1"
echo "scenario $SCENARIO took $((SECONDS - started)) s"
finish
