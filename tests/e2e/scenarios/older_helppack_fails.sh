# An older help pack an upgrade left registered beside the suite, its files in
# the suite's help\ folder, whose removal fails (its package runs a program of
# its own that exits with 1): it is uninstalled before the suite, with the
# suite's own packs; the suite goes and its shortcuts with it, and its folder,
# which holds the pack's files, stays whole. The exit code is the pack's
# installer's: Wine's answers a failed custom action with 1627
# (ERROR_FUNCTION_FAILED) and keeps the product registered, as Windows does.
new_machine "$SCENARIO"
install_suite tdf
install_part help75
waive_plan_step run "/x$PART_CODE" "the installer's own answer (1627), which the plan takes to be success"
snapshot before

run_korvalend
snapshot after
expect_exit 1627
expect_installer_calls <<EOF2
/passive /norestart /x$PART_CODE
/passive /norestart /x$SUITE_CODE
EOF2
expect_key after "$UNINSTALL\\$PART_CODE"
expect_no_key after "$SUITE_UNINSTALL\\$SUITE_CODE"
expect_file "$SUITE_DIR/help/old-index.html"
expect_file "$SUITE_DIR/program/user-notes.txt"
expect_not_trashed "$SUITE_DIR"
expect_not_trashed "$SUITE_DIR/program"
expect_no_file "$PUBLIC_DESKTOP/LibreOffice Writer.lnk"
