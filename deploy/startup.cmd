@echo off
rem startup.cmd, a computer startup script: removes the suite where --check
rem finds something, and logs the line and the exit code.
setlocal
set "src=%~dp0"
set "log=%SystemRoot%\Temp\korvalend.log"
"%src%korvalend-plan.exe" --check /quiet >>"%log%" 2>&1
if %errorlevel% equ 0 exit /b 0
start "" /wait "%src%korvalend.exe" /quiet /log
set rc=%errorlevel%
>>"%log%" echo %date% %time% korvalend.exe /quiet /log: exit %rc%
exit /b %rc%
