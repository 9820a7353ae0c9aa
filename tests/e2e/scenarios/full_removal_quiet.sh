# "/quiet" as the argument: every installer command line carries
# "/quiet /norestart" instead of "/passive /norestart".
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
add_extension LOExtThesaurus "LibreOffice Extension French Thesaurus"
add_bystanders
snapshot before
expect_suite_installed before

run_korvalend /quiet
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/quiet /norestart /x$HELP_CODE
/quiet /norestart /x$SUITE_CODE
EOF2
expect_events <<EOF2
extension LOExtThesaurus /verysilent | soffice.bin gone
msiexec /quiet /norestart /x$HELP_CODE | soffice.bin gone
msiexec /quiet /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_no_key after "$UNINSTALL\\$HELP_CODE"
expect_no_key after "$UNINSTALL\\LOExtThesaurus"
expect_bystanders_kept
expect_trash_only_suite
