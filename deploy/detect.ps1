# detect.ps1: output and exit 0 ("installed") once nothing of the family is left;
# no output and exit 0 ("not installed": the install runs) while something is,
# or while korvalend-plan.exe is not staged yet; a non-zero exit on an error.
$ErrorActionPreference = 'Stop'
$plan = Join-Path $env:ProgramW6432 'Korvalend\korvalend-plan.exe'
if (-not (Test-Path -LiteralPath $plan)) { exit 0 }
$line = & $plan --check /quiet
$code = $LASTEXITCODE
if ($code -eq 0) { Write-Output "korvalend-plan.exe --check: $line"; exit 0 }
if ($code -eq 1) { exit 0 }
[Console]::Error.WriteLine("korvalend-plan.exe --check: exit $code, $line")
exit $code
