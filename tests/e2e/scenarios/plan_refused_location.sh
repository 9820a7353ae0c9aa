# The preview where the recorded install location is Program Files itself:
# the plan refuses it as the run does and changes nothing; a Start-menu entry
# named outside ASCII comes out escaped in the JSON plan and in the console's
# code page in the text plan (Wine's is 1252 here).
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
cp "$RUN/plan.out" "$RUN/plan.txt"
check "text plan writes the name in the console's code page" grep -qaF "Aide $(printf '\xe9')tendue.url" "$RUN/plan.txt"
run_plan --json
expect_plan_kept before
recycles_program_files() { plan_json '.recycles[]' | grep -qix 'c:\\program files'; }
check "plan keeps Program Files" not recycles_program_files
check "plan escapes a name outside ASCII" grep -qF 'Aide \u00e9tendue.url' "$RUN/plan.out"

run_korvalend
snapshot after
expect_exit 0
expect_file "$C/Program Files"
expect_plan_matches_run
