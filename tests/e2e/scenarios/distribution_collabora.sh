# Collabora Office: its vendor key has no leading backslash in the program's
# table, its help pack and extension carry the Collabora names, and its own
# desktop shortcuts go too. A folder that bears one of the LibreOffice
# shortcut names is not a shortcut and stays.
new_machine "$SCENARIO"
install_suite collabora
install_helppack collabora
add_extension CollaboraExtTemplates "Collabora Extension Templates"
add_bystanders
snapshot before
expect_suite_installed before
expect_key before "$UNINSTALL\\$HELP_CODE"

uninstall_in_order "$HELP_CODE" "$SUITE_CODE"
expect_events <<EOF2
extension CollaboraExtTemplates /verysilent | soffice.bin gone
msiexec /passive /norestart /x$HELP_CODE | soffice.bin gone
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_no_key after "$UNINSTALL\\CollaboraExtTemplates"
expect_bystanders_kept
expect_trash_only_suite
