# A suite whose removal schedules a restart: the installer answers 3010 and
# the entry is gone. The removal is complete once the machine restarts: the
# leftovers go, and the exit code 3010 lets the deployment tool schedule that
# restart (the run passes /norestart and never answers 1641).
new_machine "$SCENARIO"
install_suite tdfreboot
add_bystanders
snapshot before
expect_suite_installed before

waive_plan_step run "/x$SUITE_CODE" "the installer's own answer (3010), which the plan takes to be 0"
run_korvalend
snapshot after
expect_exit 3010
expect_installer_calls <<<"/passive /norestart /x$SUITE_CODE"
expect_suite_removed after
expect_bystanders_kept
expect_trash_only_suite
