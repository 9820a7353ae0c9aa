# Nothing of the suite on the machine: nothing runs, nothing changes.
new_machine "$SCENARIO"
add_bystanders
snapshot before
run_korvalend
snapshot after
expect_exit 0
expect_installer_calls </dev/null
expect_events </dev/null
expect_unchanged before after
expect_trash_count 0
