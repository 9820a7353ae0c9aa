# remediate.ps1: runs the removal (a GUI program: wait for it) and reports its
# exit code; 3010 is a removal that a restart completes, which Remediations do
# not schedule: the output says so.
$ErrorActionPreference = 'Stop'
$exe = Join-Path $env:ProgramW6432 'Korvalend\korvalend.exe'
$run = Start-Process -FilePath $exe -ArgumentList '/quiet', '/log' -Wait -PassThru
$code = $run.ExitCode
if ($code -eq 3010) { Write-Output "korvalend.exe /quiet /log: exit 3010, removed; a restart completes it"; exit 0 }
Write-Output "korvalend.exe /quiet /log: exit $code"
exit $code
