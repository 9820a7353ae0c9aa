@echo off
rem sweep.cmd: for each machine of machines.txt, the check and, where it finds
rem something, the removal; the results in results.csv.
setlocal EnableDelayedExpansion
set run=yes
>results.csv echo machine,check,line,removal
for /f "usebackq delims=" %%m in ("machines.txt") do (
    set line=
    psexec -accepteula -nobanner \\%%m -s -c -f "%~dp0korvalend-plan.exe" --check /quiet >"%%m.check.txt" 2>"%%m.psexec.txt"
    set check=!errorlevel!
    set /p line=<"%%m.check.txt"
    set removal=-
    if !check! equ 1 if defined run (
        psexec -accepteula -nobanner \\%%m -s -c -f "%~dp0korvalend.exe" /quiet >nul 2>>"%%m.psexec.txt"
        set removal=!errorlevel!
    )
    >>results.csv echo %%m,!check!,"!line!",!removal!
)
