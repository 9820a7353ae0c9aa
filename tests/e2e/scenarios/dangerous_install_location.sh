# The recorded install location is Program Files itself (with a
# bootstrap.ini where the program looks for it): the suite is uninstalled and
# its shortcuts and Start menu folder go, but Program Files is refused, and
# nothing outside the suite is deleted.
new_machine "$SCENARIO"
install_suite tdf
add_bystanders
reg_import <<EOF2
[$SUITE_VENDOR_KEY\\7.6\\$UPGRADE_CODE]
"INSTALLLOCATION"="C:\\\\Program Files\\\\"
EOF2
mkdir -p "$C/Program Files/program"
cp "$SUITE_DIR/program/bootstrap.ini" "$C/Program Files/program/bootstrap.ini"
snapshot before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_no_key after "$UNINSTALL\\$SUITE_CODE"
expect_file "$C/Program Files"
expect_file "$C/Program Files/program/bootstrap.ini"
expect_file "$SUITE_DIR/program/user-notes.txt"
expect_file "$C/Program Files/Common Files"
expect_bystanders_kept
expect_no_file "$PUBLIC_DESKTOP/LibreOffice Writer.lnk"
expect_trashed "$COMMON_PROGRAMS/$SUITE_KEY"
expect_not_trashed "$C/Program Files"
expect_trash_only_suite
