# A 64-bit and a 32-bit LibreOffice of the same product key, side by side:
# the 64-bit one goes first, each by the product code of its own view (never
# crossed), and what their names share (the shortcut named after the key, the
# Start-menu folder) stays until the second is gone too.
new_machine "$SCENARIO"
install_suite tdf
CODE64=$SUITE_CODE DIR64=$SUITE_DIR
install_suite tdf86
add_bystanders
snapshot before
expect_key before "$UNINSTALL\\$CODE64"
expect_key before "$UNINSTALL32\\$SUITE_CODE"

uninstall_in_order "$CODE64" "$SUITE_CODE"
expect_no_file "$DIR64"
expect_trashed "$DIR64"
expect_suite_files_removed after
expect_bystanders_kept
