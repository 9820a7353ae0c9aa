# The suite is running, and so is another suite's soffice.bin (OpenOffice,
# which stays installed) from its own folder: the suite's is terminated before
# the first uninstaller starts; the other one and every other process run on.
new_machine "$SCENARIO"
install_suite tdf
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
snapshot before
start_soffice
start_other_soffice "Program Files (x86)/OpenOffice 4"
start_bystander_process soffice.exe
OWN_SOFFICE=$(cpath "$SUITE_DIR/program/soffice.bin")
OTHER_SOFFICE='C:\Program Files (x86)\OpenOffice 4\program\soffice.bin'
expect_image_running "$OWN_SOFFICE"
expect_image_running "$OTHER_SOFFICE"
expect_running soffice.exe

run_plan --json
check "the plan ends one process" test "$(plan_json '.running | length')" = 1
check "the plan keeps OpenOffice's soffice.bin" \
    test "$(plan_json '.kept[] | select(.reason | startswith("is another program")) | .path')" = "$OTHER_SOFFICE"

run_korvalend
expect_image_gone "$OWN_SOFFICE"
expect_image_running "$OTHER_SOFFICE"
expect_running soffice.exe
snapshot after
expect_exit 0
expect_events <<EOF2
extension LOExtGrammar /verysilent | soffice.bin running: $OTHER_SOFFICE
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin running: $OTHER_SOFFICE
EOF2
expect_suite_removed after
expect_trash_only_suite
