@echo off
rem install.cmd [/stage]: copies korvalend.exe and korvalend-plan.exe to
rem %ProgramW6432%\Korvalend; without /stage, then runs the removal and ends
rem with its exit code.
setlocal
set "dir=%ProgramW6432%\Korvalend"
if not exist "%dir%\" mkdir "%dir%" || exit /b 1
copy /b /y "%~dp0korvalend.exe" "%dir%\" >nul || exit /b 1
copy /b /y "%~dp0korvalend-plan.exe" "%dir%\" >nul || exit /b 1
if /i "%~1"=="/stage" exit /b 0
start "" /wait "%dir%\korvalend.exe" /quiet /log
exit /b %errorlevel%
