# A removal that fails, with its record: the suite's package runs a program
# of its own on removal that exits with 1. Wine's installer then ends with
# 1627 and the suite stays; the record tells the failed uninstall as an
# error with its code, and the run's exit code last; the installer's own log
# holds the failed action.
new_machine "$SCENARIO"
install_suite tdffail
waive_plan_step run "/x$SUITE_CODE" "the installer's own answer (1627), which the plan takes to be success"
snapshot before

run_korvalend /quiet /log
snapshot after
expect_exit 1627
expect_installer_calls <<EOF2
/quiet /norestart /x$SUITE_CODE /L*v "$RECORD_FOLDER\\msiexec-$SUITE_CODE.log"
EOF2
expect_suite_installed after
expect_cmtrace_record
check "the record tells the failed uninstall as an error, with its code" \
    record_has "The uninstaller of the Uninstall entry $SUITE_CODE (64-bit view) ended with exit code 1627 after" 3
check "the record ends with the exit code" record_ends "<![LOG[Exit code 1627: " 3
# Wine's installer says "Return value 0" where Windows' says "Return value 3".
check "the installer's log holds the failed action" \
    grep -qE '^Action ended [0-9:]+: FailOnRemoval\. Return value 0\.$' <(tr -d '\r' <"$(record_dir)/msiexec-$SUITE_CODE.log")
