# detect-remediation.ps1: exit 1 ("remediate") while something of the family is
# installed, and on an error, so that it shows; the line is kept as the output.
$ErrorActionPreference = 'Stop'
$plan = Join-Path $env:ProgramW6432 'Korvalend\korvalend-plan.exe'
if (-not (Test-Path -LiteralPath $plan)) { Write-Output "not staged: $plan"; exit 1 }
$line = & $plan --check /quiet
$code = $LASTEXITCODE
Write-Output $line
if ($code -eq 0) { exit 0 }
exit 1
