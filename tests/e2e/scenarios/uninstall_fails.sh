# The suite's uninstallation fails and its entry stays: nothing is deleted,
# neither shortcuts nor folders, and the run ends with the installer's whole
# exit code (1603, which a Unix exit status would cut to 67). What ran before
# it (extension, help pack) has run.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
fail_installer_for "/x$SUITE_CODE"
waive_plan_step run "/x$SUITE_CODE" "the installer's own answer (1603), which the plan takes to be success"
snapshot before

run_korvalend
snapshot after
expect_exit 1603
expect_installer_calls <<EOF2
/passive /norestart /x$HELP_CODE
/passive /norestart /x$SUITE_CODE
EOF2
expect_no_key after "$UNINSTALL\\$HELP_CODE"
expect_no_key after "$UNINSTALL\\LOExtGrammar"
expect_suite_installed after
expect_file "$SUITE_DIR/program/user-notes.txt"
expect_file "$COMMON_PROGRAMS/$SUITE_KEY/Online Help.url"
expect_trash_count 0
