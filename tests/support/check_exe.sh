#!/usr/bin/env bash
# Checks the shape of a shipped program: x86-64, imports only DLLs that
# Windows itself ships, a version resource and a manifest (type 24, by number:
# a manifest filed under a named type is never read by the loader).
#   check_exe.sh OBJDUMP korvalend.exe              GUI subsystem
#   check_exe.sh OBJDUMP korvalend-plan.exe plan    the preview: console
#       subsystem, its own file name, asInvoker, and no import that changes
#       anything (files, folders, the shell's delete and execution, processes,
#       registry writes, the installer mutex, the console's title)
set -euo pipefail
objdump=$1
exe=$2
kind=${3:-program}
dump=$("$objdump" -p "$exe")
status=0
need() {
    if ! grep -qE "$1" <<<"$dump"; then
        echo "FAIL: $2"
        status=1
    fi
}
need '^Magic[[:space:]]+020b' 'PE32+ image (x86-64)'
if [ "$kind" = plan ]; then
    need '^Subsystem[[:space:]]+00000003' 'Windows console subsystem'
    # The resources' UTF-16 texts read as ASCII once their NUL bytes are gone.
    text=$(tr -d '\0' <"$exe")
    grep -qF 'OriginalFilenamekorvalend-plan.exe' <<<"$text" || { echo "FAIL: version resource of its own"; status=1; }
    grep -qF 'level="asInvoker"' <<<"$text" || { echo "FAIL: asInvoker manifest"; status=1; }
    forbidden='^(DeleteFile|SetFileAttributes|RemoveDirectory|CreateDirectory|MoveFile|SHFileOperation|ShellExecute|CreateProcess|RegSetValue|RegCreateKey|RegDeleteKey|RegDeleteValue|SetConsoleTitle)|^(TerminateProcess|ReleaseMutex)$'
    while read -r name; do
        echo "FAIL: imports $name, which changes the machine"
        status=1
    done < <(awk 'NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}' <<<"$dump" | grep -E "$forbidden" || true)
else
    need '^Subsystem[[:space:]]+00000002' 'Windows GUI subsystem'
fi
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
[ $status -eq 0 ] && echo "$(basename "$exe"): PE32+, $kind shape, system DLLs only, version resource and manifest"
exit $status
