# The whole suite goes, run without argument: extension, French help pack
# (listed after the suite), the suite itself, then what it left behind. The
# preview first: it changes nothing, and names the very command lines the run
# then starts, in order, and everything the run takes away.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
add_bystanders
snapshot before
contents before
expect_suite_installed before
expect_key before "$UNINSTALL\\$HELP_CODE"

run_plan --json
expect_plan_kept before
check "plan names the suite's product code" test "$(plan_json '.found[] | select(.what == "product code") | .text')" = "$SUITE_CODE"
check "plan ends with the run's exit code" test "$(plan_json .exitCode)" = 0

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
expect_plan_matches_run
