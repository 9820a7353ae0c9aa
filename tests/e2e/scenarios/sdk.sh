# The suite's SDK, a package of its own installed into the suite's sdk\
# folder: it goes after the suite's packs and before the suite, and then the
# whole folder with it, sdk\ counted as the suite's own.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
install_part sdk
snapshot before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$HELP_CODE
/passive /norestart /x$PART_CODE
/passive /norestart /x$SUITE_CODE
EOF2
expect_suite_removed after
expect_no_key after "$UNINSTALL\\$PART_CODE"
expect_no_file "$SUITE_DIR"
