# A Japanese machine (code page 932): the suite installed into C:\表\, whose
# name ends in the byte 0x5C ("\") in that code page, with a user's file
# beside the suite. Paths are read character by character: the suite's
# layout goes to the Recycle Bin, the folder and the user's file stay.
export LC_ALL=C.UTF-8 # UTF-8 host names for the installer; korvalend.exe alone runs in Japanese
new_machine "$SCENARIO"
install_suite tdf "$C/表"
echo "a user's notes" >"$C/表/notes.txt"
add_bystanders
snapshot before

in_japanese uninstall_suite_alone
expect_no_file "$SUITE_DIR/program"
expect_trashed "$SUITE_DIR/program/user-notes.txt"
expect_file "$SUITE_DIR/notes.txt"
expect_not_trashed "$SUITE_DIR"
expect_no_file "$COMMON_PROGRAMS/$SUITE_KEY"
expect_bystanders_kept
expect_trash_only_suite
