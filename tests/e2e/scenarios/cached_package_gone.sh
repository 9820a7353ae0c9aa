# The suite installed from a copy of its package in the scenario's folder,
# then both its cached package (C:\windows\Installer) and that copy deleted:
# Wine's installer, as Windows', answers an uninstall with 1612 and keeps the
# product, and the queries still name the cached package and the source it
# looked for. A help pack whose cached package alone is gone is uninstalled
# from its source. The program itself does not run.
new_machine "$SCENARIO"
SUITE_CODE=$(dist_field tdf 9)
HELP_CODE=$HELP_AFTER_CODE
# A folder name long enough that the source's path takes the wrappers' second read.
packages="$RUN/packages/downloaded by the deployment tool on the first day of the rollout"
install_copy suite-tdf "$packages"
install_copy helppack-after "$packages/help"
msi_query "$SUITE_CODE" "$HELP_CODE"
suite_cached=$(msi_answer "$SUITE_CODE" LocalPackage)
help_cached=$(msi_answer "$HELP_CODE" LocalPackage)
expect_msi "$SUITE_CODE" LastUsedSource "0 $(winpath "$packages")\\"
expect_msi "$HELP_CODE" LastUsedSource "0 $(winpath "$packages/help")\\"
host_cached() { printf '%s/windows/Installer/%s' "$C" "${1##*\\}"; }
expect_file "$(host_cached "$suite_cached")"
expect_file "$(host_cached "$help_cached")"

rm -f "$(host_cached "$suite_cached")" "$packages/suite-tdf.msi" "$(host_cached "$help_cached")"
rc=$(installer_exit /x "$SUITE_CODE" /qn)
check "Wine's installer answers the suite's uninstall with 1612: $rc" test "$rc" = 1612
rc=$(installer_exit /x "$HELP_CODE" /qn)
check "the help pack is uninstalled from its source: $rc" test "$rc" = 0
snapshot after
expect_key after "$UNINSTALL\\$SUITE_CODE"
expect_no_key after "$UNINSTALL\\$HELP_CODE"

msi_query "$SUITE_CODE" "$HELP_CODE"
expect_msi "$SUITE_CODE" state 5
expect_msi "$SUITE_CODE" LocalPackage "$suite_cached"
expect_msi "$SUITE_CODE" LastUsedSource "0 $(winpath "$packages")\\"
expect_msi "$SUITE_CODE" PackageName "0 suite-tdf.msi"
expect_no_file "$(host_cached "$suite_cached")"
expect_msi "$HELP_CODE" state -1
