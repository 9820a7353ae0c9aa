# The suite installed from a copy of its package in the scenario's folder,
# then both its cached package (C:\windows\Installer) and that copy deleted:
# the plan and --check say beforehand that the uninstall will fail with 1612,
# the run attempts it all the same, Wine's installer answers 1612 as
# Windows' does, and nothing of the suite is deleted.
new_machine "$SCENARIO"
SUITE=tdf SUITE_CODE=$(dist_field tdf 9) SUITE_KEY=$(dist_field tdf 2) SUITE_UNINSTALL=$UNINSTALL
SUITE_DIR="$C/Program Files/LibreOffice"
packages="$RUN/packages"
install_copy suite-tdf "$packages"
msi_query "$SUITE_CODE"
cached=$(msi_answer "$SUITE_CODE" LocalPackage)
rm -f "$C/windows/Installer/${cached##*\\}" "$packages/suite-tdf.msi"
timeout 120 "$WINE" "$(winpath "$KORVALEND_BUILD/korvalend-plan.exe")" --check >"$RUN/check-before.out" 2>&1
check "--check says the uninstall would fail with 1612: $(tr -d '\r' <"$RUN/check-before.out")" \
    grep -q 'gone (exit code 1612)): exit 1612' "$RUN/check-before.out"
snapshot before

run_korvalend
snapshot after
expect_exit 1612
check "the plan says why" grep -q 'the uninstall will fail with 1612' "$RUN/plan.out"
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_key after "$UNINSTALL\\$SUITE_CODE"
expect_file "$SUITE_DIR/program/bootstrap.ini"
expect_trash_count 0
