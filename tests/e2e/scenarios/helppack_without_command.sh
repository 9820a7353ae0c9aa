# The help pack's entry has no uninstall command: it is uninstalled by its
# entry's key name, its product code, with the same command line.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
reg_import <<EOF2
[$UNINSTALL\\$HELP_CODE]
"UninstallString"=-
"ModifyPath"=-
EOF2
snapshot before
expect_key before "$UNINSTALL\\$HELP_CODE"

uninstall_in_order "$HELP_CODE" "$SUITE_CODE"
expect_suite_removed after
expect_trash_only_suite
