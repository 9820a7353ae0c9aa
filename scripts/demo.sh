#!/usr/bin/env bash
# The demonstration: builds korvalend.exe, makes a sample Windows machine in a
# Wine prefix with the suite, its French help pack and an extension installed
# (real Windows Installer packages, installed by the machine's own installer)
# and the suite running, shows what is there, shows the preview of the removal
# (korvalend-plan.exe, which changes nothing), runs the removal, and shows what
# is gone, what went to the Recycle Bin, what stayed, the command lines the
# Windows Installer received and the exit code.
#
# Needs the packages of scripts/setup.sh. Leaves the machine in
# build/windows/e2e/runs/demo for a look around.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== Building korvalend.exe and korvalend-plan.exe (MinGW-w64) and the helper programs"
build=${KORVALEND_DEMO_BUILD:-build/windows}
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target korvalend korvalend-plan msiexec_shim ext_uninstaller soffice_standin launcher >/dev/null
export KORVALEND_BUILD=$PWD/$build KORVALEND_SOURCE=$PWD
ls -l "$KORVALEND_BUILD/korvalend.exe" | awk '{print "   " $NF ", " $5 " bytes"}'

# shellcheck source=../tests/e2e/lib.sh
source tests/e2e/lib.sh
set +eu # the library checks its own steps

echo "== Making a sample machine (fresh Wine prefix; the first run also builds the packages)"
new_machine demo
install_suite tdf
install_helppack after
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
add_bystanders
snapshot before
start_soffice

# host path -> C:\... as the machine sees it
win_name() { local p=${1#"$C"/}; printf 'C:\\%s' "${p//\//\\}"; }

# Uninstall entries of a snapshot: "key|DisplayName" (awk gets the texts through
# the environment: -v would read their backslashes as escapes)
uninstall_entries() {
    PFX="[$UNINSTALL\\" awk '
        BEGIN { pfx = ENVIRON["PFX"] }
        index($0, "[") == 1 { key = ""; if (index(toupper($0), toupper(pfx)) == 1) { key = substr($0, length(pfx) + 1); sub(/\]$/, "", key) } }
        key != "" && /^"DisplayName"=/ { v = $0; sub(/^"DisplayName"="/, "", v); sub(/"$/, "", v); print key "|" v }
    ' "$RUN/$1.regtxt"
}
value_of() { # value_of SNAPSHOT KEY VALUENAME ("@" for the default value)
    K="[$2]" N=$3 awk '
        BEGIN { k = ENVIRON["K"]; n = ENVIRON["N"] }
        index($0, "[") == 1 { inkey = (toupper($0) == toupper(k)); next }
        inkey { want = (n == "@") ? "@=" : "\"" n "\"="; if (index($0, want) == 1) { v = substr($0, length(want) + 1); gsub(/^"|"$/, "", v); gsub(/\\\\/, "\\", v); print v } }
    ' "$RUN/$1.regtxt"
}
row() { printf '   %-34s %s\n' "$1" "$2"; }

echo
echo "== Installed"
uninstall_entries before | while IFS='|' read -r key name; do row "Uninstall entry" "$name  $key"; done
row "install location" "$(value_of before "$SUITE_VENDOR_KEY\\7.6\\$UPGRADE_CODE" INSTALLLOCATION)"
row "automation AppID" "$(value_of before "$APPID_KEY" @)"
row "shared desktop shortcuts" "$(desktop_shortcuts tdf | wc -l) ($(desktop_shortcuts tdf | head -2 | paste -sd, -)...)"
row "Start menu folder" "$(win_name "$COMMON_PROGRAMS/$SUITE_KEY")"
row "running" "$(processes | grep -ix soffice.bin || echo none)"

echo
echo "== Preview: wine korvalend-plan.exe   (reads the machine, changes nothing)"
run_plan >/dev/null
tr -d '\r' <"$RUN/plan.out" | sed 's/^/   /'

echo
echo "== Running: wine korvalend.exe   (no argument: the installer runs with /passive /norestart)"
run_korvalend >/dev/null
row "exit code" "$KV_EXIT"
soffice_state=$(processes | grep -ix soffice.bin || echo "terminated")
snapshot after

echo
echo "== Command lines the Windows Installer (Msiexec.exe) received, in order"
installer_log | sed 's/^/   Msiexec.exe /'
echo "== Every uninstaller started, in order, and whether soffice.bin was still alive"
event_log | sed 's/^/   /'

echo
echo "== Gone"
row "soffice.bin" "$soffice_state"
comm -23 <(uninstall_entries before | sort) <(uninstall_entries after | sort) |
    while IFS='|' read -r key name; do row "Uninstall entry" "$name"; done
for key in "$SUITE_VENDOR_KEY" "$APPID_KEY" "$PROGID_KEY"; do
    has_key after "$key" || row "registry key" "${key#HKEY_LOCAL_MACHINE\\}"
done
while read -r name; do
    [ -e "$PUBLIC_DESKTOP/$name" ] || row "shared desktop shortcut" "$name"
done < <(desktop_shortcuts tdf)
[ -e "$SUITE_STARTUP" ] || row "Startup shortcut" "$(basename "$SUITE_STARTUP")"

echo
echo "== In the Recycle Bin (from where)"
for info in "$TRASH"/info/*.trashinfo; do
    [ -e "$info" ] || continue
    origin=$(sed -n 's/^Path=//p' "$info")
    origin=$(printf '%b' "${origin//%/\\x}")
    row "$(basename "$info" .trashinfo)" "C:\\$(printf '%s' "${origin#*/dosdevices/c:/}" | tr / '\\')"
done

echo
echo "== Stayed"
for f in "$USER_DIR/Desktop/LibreOffice Writer.lnk" "$PUBLIC_DESKTOP/Notes.lnk" "$USER_STARTUP/OpenOffice.lnk" \
    "$USER_STARTUP/LibreOffice notes.txt" "$C/Program Files/Other Suite/program/bootstrap.ini"; do
    if [ -e "$f" ]; then row "kept" "$(win_name "$f")"; else row "MISSING" "$(win_name "$f")"; fi
done
uninstall_entries after | while IFS='|' read -r key name; do row "Uninstall entry" "$name"; done

echo
if [ "$KV_EXIT" -eq 0 ] && ! has_key after "$UNINSTALL\\$SUITE_CODE" && [ ! -e "$SUITE_DIR" ]; then
    echo "== The suite is removed; exit code $KV_EXIT. The machine is in $RUN."
else
    echo "== The suite was NOT fully removed (exit code $KV_EXIT). The machine is in $RUN."
    exit 1
fi
