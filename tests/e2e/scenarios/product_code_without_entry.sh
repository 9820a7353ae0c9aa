# The suite's uninstall command names a product code that has no Uninstall
# entry of its own: the removal stops before doing anything, the running
# suite is left alone, and the exit code says that the suite stays with facts
# that cannot be resolved.
new_machine "$SCENARIO"
install_suite tdf
reg_import <<EOF2
[$UNINSTALL\\$SUITE_CODE]
"UninstallString"="MsiExec.exe /I{DEADBEEF-0000-4000-8000-000000000000}"
EOF2
place_soffice
snapshot before
start_soffice

run_korvalend
expect_running soffice.bin
snapshot after
expect_exit 70001
expect_installer_calls </dev/null
expect_events </dev/null
expect_unchanged before after
expect_trash_count 0
