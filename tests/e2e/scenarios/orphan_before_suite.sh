# An entry written by hand for a product code no package registered (an
# orphan the Windows Installer no longer holds), listed before the installed
# suite and named as it: the run passes it over, asks nothing of it again,
# removes the installed suite and ends with 0; the orphan stays where it is,
# since the program writes nothing to the registry, and --check then names it.
new_machine "$SCENARIO"
install_suite tdf
ORPHAN='{0A000000-7621-4B1E-9D2C-0000000000F1}'
reg_import <<EOF2
[$UNINSTALL\\$ORPHAN]
"DisplayName"="LibreOffice 7.6.2.1"
"UninstallString"="MsiExec.exe /X$ORPHAN"
"WindowsInstaller"=dword:00000001
EOF2
snapshot before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_suite_removed after
expect_key after "$UNINSTALL\\$ORPHAN"
check "the plan lists the orphan" grep -q 'orphaned entry.*LibreOffice 7.6.2.1' "$RUN/plan.out"
check "--check names the orphan: $(tr -d '\r' <"$RUN/check.out")" grep -q 'orphaned entries left: LibreOffice 7.6.2.1' "$RUN/check.out"
