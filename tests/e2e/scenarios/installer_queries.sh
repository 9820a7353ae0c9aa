# What the Windows Installer's queries answer, through the program's own
# wrappers, once the packages are installed by the real installer: the state,
# cached package and source of each installed product, for a product code no
# package registered and for a text that is no product code. The program
# itself does not run. The query program lies in the build's test folder,
# beside an msi.dll of the tests' own: the one loaded is the system's.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
NOBODY='{DEADBEEF-0000-4000-8000-00000000C0DE}'
suite_lower=$(tr 'A-F' 'a-f' <<<"$SUITE_CODE")
msi_query "$SUITE_CODE" "$HELP_CODE" "$suite_lower" "$NOBODY" '{0DE}'

for code in "$SUITE_CODE" "$HELP_CODE" "$suite_lower"; do
    expect_msi "$code" state 5
    cached=$(msi_answer "$code" LocalPackage)
    check "LocalPackage of $code is a cached package: $cached" \
        grep -qE '^0 C:\\windows\\Installer\\[0-9a-z]+\.msi$' <<<"$cached"
    expect_file "$C/windows/Installer/${cached##*\\}"
    expect_msi "$code" LastUsedSource "0 $(winpath "$E2E_FIXTURES")\\"
done
expect_msi "$SUITE_CODE" PackageName "0 suite-tdf.msi"
expect_msi "$HELP_CODE" PackageName "0 helppack-after.msi"
check "two products, two cached packages" test "$(msi_answer "$SUITE_CODE" LocalPackage)" != "$(msi_answer "$HELP_CODE" LocalPackage)"

expect_msi "$NOBODY" state -1
expect_msi '{0DE}' state -2
for what in LocalPackage LastUsedSource PackageName; do
    expect_msi "$NOBODY" $what 1605
    expect_msi '{0DE}' $what 87
done
check "msi.dll is the system's: $(sed -n 's/^library //p' "$RUN/msi_query.out")" \
    grep -qx 'library C:\\windows\\system32\\msi.dll' "$RUN/msi_query.out"
