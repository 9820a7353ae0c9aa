# The help pack's Uninstall entry is listed before the suite's, and its
# display name begins with the product key too: the suite's own entry must
# still be the one whose product code is uninstalled last.
new_machine "$SCENARIO"
install_suite tdf
install_helppack before
snapshot before
expect_suite_installed before
expect_key before "$UNINSTALL\\$HELP_CODE"
check "help pack's entry sorts before the suite's" test "$HELP_CODE" \< "$SUITE_CODE"

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$HELP_CODE
/passive /norestart /x$SUITE_CODE
EOF2
expect_suite_removed after
expect_no_key after "$UNINSTALL\\$HELP_CODE"
expect_trash_only_suite
