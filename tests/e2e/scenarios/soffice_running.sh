# The suite is running: soffice.bin is terminated before the first
# uninstaller starts, and no other process is touched.
new_machine "$SCENARIO"
install_suite tdf
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
snapshot before
start_soffice
start_bystander_process soffice.exe
expect_running soffice.bin
expect_running soffice.exe

run_korvalend
expect_not_running soffice.bin
expect_running soffice.exe
snapshot after
expect_exit 0
expect_events <<EOF2
extension LOExtGrammar /verysilent | soffice.bin gone
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_trash_only_suite
