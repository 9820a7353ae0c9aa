# The suite installed straight into a folder it shares with another program
# and a user's file (a custom install into C:\Tools\), its location recorded
# with "/" as scripts and repackaging tools write it: only the suite's
# program folder goes to the Recycle Bin; the other program's share\ folder,
# named like the suite's, and the folder itself stay with what is not the
# suite's.
new_machine "$SCENARIO"
install_suite tdf "$C/Tools"
reg_import <<EOF2
[$SUITE_VENDOR_KEY\\7.6\\$UPGRADE_CODE]
"INSTALLLOCATION"="C:/Tools/"
EOF2
mkdir -p "$C/Tools/OtherApp" "$C/Tools/share/OtherApp"
echo "another program" >"$C/Tools/OtherApp/app.exe"
echo "another program's data" >"$C/Tools/share/OtherApp/data.xml"
echo "a user's notes" >"$C/Tools/notes.txt"
add_bystanders
snapshot before
check "install location recorded: C:/Tools/" grep -Fqi '"INSTALLLOCATION"="C:/Tools/"' "$RUN/before.regtxt"

uninstall_suite_alone
expect_no_file "$SUITE_DIR/program"
expect_trashed "$SUITE_DIR/program/user-notes.txt"
expect_file "$C/Tools/OtherApp/app.exe"
expect_file "$C/Tools/share/OtherApp/data.xml"
expect_file "$C/Tools/notes.txt"
expect_not_trashed "$C/Tools"
expect_not_trashed "$C/Tools/share"
expect_no_file "$SUITE_STARTUP"
expect_no_file "$COMMON_PROGRAMS/$SUITE_KEY"
expect_trashed "$COMMON_PROGRAMS/$SUITE_KEY/Online Help.url"
expect_bystanders_kept
expect_trash_only_suite
