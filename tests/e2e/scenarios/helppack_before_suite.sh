# Two help packs, German and French, are listed before the suite, and their
# display names begin with the product key too: the suite's own entry must
# still be the one whose product code is uninstalled last, and both help packs
# go before it, the French one first.
new_machine "$SCENARIO"
install_suite tdf
install_helppack before
install_helppack german
snapshot before
expect_suite_installed before
expect_key before "$UNINSTALL\\$HELP_CODE"
expect_key before "$UNINSTALL\\$HELP_GERMAN_CODE"
check "help packs' entries sort before the suite's, the German one first" \
    test "$HELP_GERMAN_CODE" \< "$HELP_CODE" -a "$HELP_CODE" \< "$SUITE_CODE"

uninstall_in_order "$HELP_CODE" "$HELP_GERMAN_CODE" "$SUITE_CODE"
expect_suite_removed after
expect_trash_only_suite
