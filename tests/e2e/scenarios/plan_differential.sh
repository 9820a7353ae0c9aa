# The preview on the usual machine, then the removal itself: the plan changes
# nothing, and names the very command lines the run then starts, in order,
# and everything the run takes away.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
add_bystanders
snapshot before
contents before

run_plan --json
expect_plan_kept before
check "plan names the suite's product code" test "$(plan_json '.found[] | select(.what == "product code") | .text')" = "$SUITE_CODE"
check "plan ends with the run's exit code" test "$(plan_json .exitCode)" = 0

run_korvalend
snapshot after
expect_exit 0
expect_suite_removed after
expect_plan_matches_run
