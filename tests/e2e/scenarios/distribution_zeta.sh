# The zeta distribution: its own vendor key, product key and AppID text.
new_machine "$SCENARIO"
install_suite zeta
add_bystanders
snapshot before
expect_suite_installed before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_suite_removed after
expect_bystanders_kept
expect_trash_only_suite
