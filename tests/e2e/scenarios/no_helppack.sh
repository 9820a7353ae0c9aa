# Neither help pack nor extension: the suite is the only thing uninstalled.
# A help pack of another product whose name begins with the same word
# (LibreOfficeDev) is not the suite's and stays.
new_machine "$SCENARIO"
install_suite tdf
reg_import <<EOF2
[$UNINSTALL\\{DE1F0000-2408-4B1E-9D2C-000000000D24}]
"DisplayName"="LibreOfficeDev 24.8 Help Pack (German)"
"UninstallString"="MsiExec.exe /I{DE1F0000-2408-4B1E-9D2C-000000000D24}"
EOF2
snapshot before
expect_suite_installed before

uninstall_suite_alone
expect_events <<EOF2
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_key after "$UNINSTALL\\{DE1F0000-2408-4B1E-9D2C-000000000D24}"
expect_trash_only_suite
