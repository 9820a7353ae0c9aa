# Another installation owns the Windows Installer's mutex for a few seconds
# (the installer refuses with 1618 meanwhile, as Windows' does): the removal
# waits until it is free, then uninstalls the suite.
new_machine "$SCENARIO"
install_suite tdf
snapshot before
expect_suite_installed before

hold_installer_mutex 4000
run_korvalend
snapshot after
expect_exit 0
expect_events <<EOF2
mutex holder gives back Global\_MSIExecute | soffice.bin gone
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_suite_removed after
expect_trash_only_suite
