# The 32-bit suite: its package puts its files in Program Files (x86) and its
# keys (vendor key, Uninstall entries) in the 32-bit view, where a 64-bit
# program reaches them only through KEY_WOW64_32KEY; Wine, like Windows, keeps
# its ProgID there too, so only the AppID and the Uninstall entries tell it.
# Its help pack goes first, then the suite, then what it left behind.
new_machine "$SCENARIO"
install_suite tdf86
install_helppack x86
add_bystanders
snapshot before
expect_suite_installed before
expect_key before "$UNINSTALL32\\$HELP_CODE"
expect_no_key before "$UNINSTALL\\$SUITE_CODE"
check "installed in Program Files (x86)" test -f "$C/Program Files (x86)/LibreOffice/program/bootstrap.ini"

uninstall_in_order "$HELP_CODE" "$SUITE_CODE"
expect_suite_removed after
expect_bystanders_kept
expect_trash_only_suite
