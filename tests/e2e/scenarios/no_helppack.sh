# Neither help pack nor extension: the suite is the only thing uninstalled.
# A help pack in another language is not the French one and stays.
new_machine "$SCENARIO"
install_suite tdf
reg_import <<EOF2
[$UNINSTALL\\{DE1F0000-7600-4B1E-9D2C-000000000D76}]
"DisplayName"="LibreOffice 7.6 Help Pack (German)"
"UninstallString"="MsiExec.exe /I{DE1F0000-7600-4B1E-9D2C-000000000D76}"
EOF2
snapshot before
expect_suite_installed before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_events <<EOF2
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_key after "$UNINSTALL\\{DE1F0000-7600-4B1E-9D2C-000000000D76}"
expect_trash_only_suite
