# The suite installed straight into a folder it shares with another program
# and a user's file (a custom install into C:\Tools\): only the suite's own
# layout goes to the Recycle Bin, and the folder stays with what is not the
# suite's.
new_machine "$SCENARIO"
install_suite tdf "$C/Tools"
mkdir -p "$C/Tools/OtherApp"
echo "another program" >"$C/Tools/OtherApp/app.exe"
echo "a user's notes" >"$C/Tools/notes.txt"
add_bystanders
snapshot before
check "install location recorded: C:\\Tools\\" grep -Fqi '"INSTALLLOCATION"="C:\\Tools\\"' "$RUN/before.regtxt"

uninstall_suite_alone
expect_no_file "$SUITE_DIR/program"
expect_trashed "$SUITE_DIR/program/user-notes.txt"
expect_file "$C/Tools/OtherApp/app.exe"
expect_file "$C/Tools/notes.txt"
expect_not_trashed "$C/Tools"
expect_no_file "$SUITE_STARTUP"
expect_no_file "$COMMON_PROGRAMS/$SUITE_KEY"
expect_trashed "$COMMON_PROGRAMS/$SUITE_KEY/Online Help.url"
expect_bystanders_kept
expect_trash_only_suite
