# The recorded install location is the drive root: the suite's files are
# uninstalled by the installer, but C:\ never goes to the Recycle Bin.
new_machine "$SCENARIO"
install_suite tdf
add_bystanders
reg_import <<EOF2
[$SUITE_VENDOR_KEY\\7.6\\$UPGRADE_CODE]
"INSTALLLOCATION"="C:\\\\"
EOF2
mkdir -p "$C/program"
cp "$SUITE_DIR/program/bootstrap.ini" "$C/program/bootstrap.ini"
snapshot before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_file "$C/program/bootstrap.ini"
expect_file "$C/windows/system32/msiexec-real.exe"
expect_file "$C/users"
expect_bystanders_kept
expect_trashed "$COMMON_PROGRAMS/$SUITE_KEY"
expect_not_trashed "$C"
expect_trash_only_suite
