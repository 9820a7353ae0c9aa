#!/usr/bin/env bash
# Checks the shape of the shipped program: x86-64, GUI subsystem, imports only
# DLLs that Windows itself ships, a version resource and a manifest (type 24,
# by number: a manifest filed under a named type is never read by the loader).
#   check_exe.sh OBJDUMP korvalend.exe
set -euo pipefail
objdump=$1
exe=$2
dump=$("$objdump" -p "$exe")
status=0
need() {
    if ! grep -qE "$1" <<<"$dump"; then
        echo "FAIL: $2"
        status=1
    fi
}
need '^Magic[[:space:]]+020b' 'PE32+ image (x86-64)'
need '^Subsystem[[:space:]]+00000002' 'Windows GUI subsystem'
need '^[0-9a-f]+   Entry: ID: 0x000010,' 'version resource (type 16)'
need '^[0-9a-f]+   Entry: ID: 0x000018,' 'manifest resource (type 24)'
while read -r dll; do
    case ${dll,,} in
        advapi32.dll | kernel32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | shell32.dll | user32.dll | gdi32.dll | \
            ntdll.dll | shlwapi.dll | comctl32.dll) ;;
        *)
            echo "FAIL: imports $dll, which Windows does not ship"
            status=1
            ;;
    esac
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
[ $status -eq 0 ] && echo "korvalend.exe: PE32+, GUI, system DLLs only, version resource and manifest"
exit $status
