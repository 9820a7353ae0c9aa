# The AppID default value holds binary data: reading it as text is an error
# that nothing catches, so the run ends with exit code 217 and the suite is
# left exactly as it was.
new_machine "$SCENARIO"
install_suite tdf
reg_import <<EOF2
[$APPID_KEY]
@=hex:4c,69,62,72,65
EOF2
snapshot before

run_korvalend
snapshot after
expect_exit 217
expect_installer_calls </dev/null
expect_unchanged before after
expect_suite_installed after
expect_trash_count 0
