#!/usr/bin/env bash
# The removal's own time on the usual machine under Wine: korvalend.exe's wall
# time (taken by the launcher) less the uninstallers' own run times (logged by
# the installer shim and the extension uninstaller from their start to their
# end), over several fresh machines. The usual machine: the suite, its French
# help pack and one extension installed, soffice.bin running.
# Where the time goes: the read-only steps are timed one by one in the same
# prefix beforehand (removal_phases.exe), and a bare process start and exit is
# timed through the same launcher.
#   KORVALEND_BUILD=build/windows KORVALEND_SOURCE=. bash tests/bench/removal_time.sh [RUNS [OTHER.EXE]]
# With OTHER.EXE (another build of korvalend.exe, say the last release), the
# runs alternate between the two programs on fresh machines, so that the load
# of the moment weighs on both alike; each gets RUNS runs. With
# KORVALEND_BENCH_LOG=1 each program runs with "/quiet" and with "/quiet /log",
# alternating the same way: the record's cost is the difference (the
# installer's own logging aside, as its run time is the uninstallers').
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export KORVALEND_BUILD=${KORVALEND_BUILD:-$here/../../build/windows} KORVALEND_SOURCE=${KORVALEND_SOURCE:-$here/../..}
. "$here/../e2e/lib.sh"
runs=${1:-3}
programs=("$(realpath "$KORVALEND_BUILD/korvalend.exe")")
[ -z "${2:-}" ] || programs+=("$(realpath "$2")")

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }

variants=(plain)
[ "${KORVALEND_BENCH_LOG:-0}" = 1 ] && variants=(quiet log)

declare -A own_all
for i in $(seq 1 "$runs"); do
  for exe in "${programs[@]}"; do
   for variant in "${variants[@]}"; do
    args=()
    [ "$variant" = quiet ] && args=(/quiet)
    [ "$variant" = log ] && args=(/quiet /log)
    key="$exe${args[*]:+ ${args[*]}}"
    export KORVALEND_EXE=$exe
    new_machine "bench-removal-$i" >/dev/null
    # korvalend.exe with nothing to remove: its start, probe and exit.
    run_korvalend >/dev/null
    empty=$KV_WALL_MS
    install_suite tdf
    install_helppack after
    add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
    start_soffice
    win "$(winpath "$KORVALEND_BUILD/tests/removal_phases.exe")" "$(winpath "$PROGRAMS/sleeper.exe")" |
        tr -d '\r' >"$RUN/phases.txt"
    for _ in 1 2 3; do
        win "$(winpath "$PROGRAMS/launcher.exe")" "$(winpath "$PROGRAMS/sleeper.exe")" 0 | tr -d '\r' |
            sed -n 's/^wall_ms //p'
    done >"$RUN/start.txt"
    run_korvalend "${args[@]}" >/dev/null
    installers=$(installer_ms)
    own=$(awk -v w="$KV_WALL_MS" -v i="$installers" 'BEGIN { printf "%.1f", w - i }')
    own_all[$key]+="$own "
    printf 'run %d of %s: exit %s, wall %.1f ms, uninstallers %s ms (%d runs), own %s ms\n' "$i" "$key" \
        "$KV_EXIT" "$KV_WALL_MS" "$installers" "$(wc -l <"$C/korvalend-times.log")" "$own"
    printf '    %-32s %8.2f ms\n' "korvalend.exe, nothing to remove" "$empty" \
        "bare process start and exit" "$(median <"$RUN/start.txt")"
    awk -F'|' '{ printf "    %-32s %8.2f ms (median of %d)\n", $1, $2, $3 }' "$RUN/phases.txt"
    [ "$KV_EXIT" = 0 ] || echo "    unexpected exit code: the run did not remove the suite"
    end_machine
    [ -n "${KORVALEND_KEEP_RUNS:-}" ] || rm -rf "$RUN"
   done
  done
done
for key in "${!own_all[@]}"; do
    printf 'own time of %s over %d runs: %s ms (median %s ms)\n' "$key" "$runs" "${own_all[$key]}" \
        "$(printf '%s\n' ${own_all[$key]} | median)"
done
