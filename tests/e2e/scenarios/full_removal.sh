# The whole suite goes, run without argument: extension, French help pack
# (listed after the suite), the suite itself, then what it left behind. The
# preview made before the run changes nothing.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
add_bystanders
snapshot before
contents before
expect_suite_installed before
expect_key before "$UNINSTALL\\$HELP_CODE"

plan_keeps before
run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$HELP_CODE
/passive /norestart /x$SUITE_CODE
EOF2
expect_events <<EOF2
extension LOExtGrammar /verysilent | soffice.bin gone
msiexec /passive /norestart /x$HELP_CODE | soffice.bin gone
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_no_key after "$UNINSTALL\\$HELP_CODE"
expect_no_key after "$UNINSTALL\\LOExtGrammar"
expect_no_file "$SUITE_DIR/help"
expect_bystanders_kept
expect_trash_only_suite
