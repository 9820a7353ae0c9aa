# The suite is registered (ProgID, AppID, Uninstall entry) but its vendor
# key is gone, so its install location is unknown: nothing happens, the
# running suite is left alone, and the exit code says that the suite stays
# with facts that cannot be resolved.
new_machine "$SCENARIO"
install_suite tdf
reg_import <<EOF2
[-$SUITE_VENDOR_KEY]
EOF2
place_soffice
snapshot before
start_soffice
expect_key before "$PROGID_KEY"
expect_no_key before "$SUITE_VENDOR_KEY"

run_korvalend
expect_running soffice.bin
snapshot after
expect_exit 70001
expect_installer_calls </dev/null
expect_events </dev/null
expect_unchanged before after
expect_trash_count 0
