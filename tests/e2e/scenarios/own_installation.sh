# The account that runs the program has its own LibreOffice 24.8 (a per-user
# package, its quickstart in the account's Startup folder) beside the
# machine's LibreOffice 7.6: the machine's goes, its shared shortcuts with
# it, while the account's own installation keeps its files and its Startup
# shortcut; the exit code says a per-user installation stays (70002). Wine
# also lists the per-user package among the machine's Uninstall entries.
new_machine "$SCENARIO"
install_suite tdf
install_msi peruser
OWN_CODE='{24800000-2480-4B1E-9D2C-000000002480}'
echo "quickstart" >"$USER_STARTUP/LibreOffice 24.8.lnk"
snapshot before

run_korvalend
snapshot after
expect_exit 70002
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_no_key after "$SUITE_UNINSTALL\\$SUITE_CODE"
expect_file "$USER_STARTUP/LibreOffice 24.8.lnk"
expect_file "$USER_DIR/AppData/Local/Programs/LibreOffice/program/readme.txt"
expect_no_file "$PUBLIC_DESKTOP/LibreOffice Writer.lnk"
