# The recorded install location is Program Files itself (with a
# bootstrap.ini where the program looks for it): the suite is uninstalled and
# its shortcuts and Start menu folder go, but Program Files is refused, and
# nothing outside the suite is deleted. The preview refuses it as the run
# does and changes nothing; a Start-menu entry named outside ASCII comes out
# escaped in the JSON plan and in the console's code page in the text plan
# (Wine's is 1252 here).
new_machine "$SCENARIO"
install_suite tdf
add_bystanders
reg_import <<EOF2
[$SUITE_VENDOR_KEY\\7.6\\$UPGRADE_CODE]
"INSTALLLOCATION"="C:\\\\Program Files\\\\"
EOF2
mkdir -p "$C/Program Files/program"
cp "$SUITE_DIR/program/bootstrap.ini" "$C/Program Files/program/bootstrap.ini"
echo "[InternetShortcut]" >"$COMMON_PROGRAMS/$SUITE_KEY/Aide $(printf '\xc3\xa9')tendue.url"
snapshot before
contents before

run_plan /quiet
check "text plan ran to its end" test "$PLAN_EXIT" -eq 0
check "text plan shows the quiet command line" grep -qF "/quiet /norestart /x$SUITE_CODE" "$RUN/plan.out"
check "text plan writes the name in the console's code page" grep -qaF "Aide $(printf '\xe9')tendue.url" "$RUN/plan.out"
plan_keeps before
run_korvalend
recycles_program_files() { plan_json '.recycles[]' | grep -qix 'c:\\program files'; }
check "plan keeps Program Files" not recycles_program_files
check "plan escapes a name outside ASCII" grep -qF 'Aide \u00e9tendue.url' "$RUN/plan.out"
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
