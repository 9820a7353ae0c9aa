# The usual removal with its record ("/quiet /log"): each Msiexec.exe line
# carries the installer's own log in the record's folder; the record names
# every uninstall, each with its exit code, and ends with the run's; each
# installer log is the installer's account of its uninstall.
new_machine "$SCENARIO"
install_suite tdf
install_helppack after
add_extension LOExtThesaurus "LibreOffice Extension French Thesaurus"
snapshot before

run_korvalend /quiet /log
snapshot after
expect_exit 0
expect_installer_calls <<EOF2
/quiet /norestart /x$HELP_CODE /L*v "$RECORD_FOLDER\\msiexec-$HELP_CODE.log"
/quiet /norestart /x$SUITE_CODE /L*v "$RECORD_FOLDER\\msiexec-$SUITE_CODE.log"
EOF2
expect_suite_removed after
expect_cmtrace_record
for entry in LOExtThesaurus "$HELP_CODE" "$SUITE_CODE"; do
    check "the record names the uninstall of $entry and its exit code" \
        record_has "The uninstaller of the Uninstall entry $entry (64-bit view) ended with exit code 0 after" 1
done
check "the record names the suite it removes" record_has "product code $SUITE_CODE" 1
check "the record ends with the exit code" record_ends "<![LOG[Exit code 0: " 1
for code in "$HELP_CODE" "$SUITE_CODE"; do
    check "msiexec-$code.log is the installer's log of its uninstall" \
        grep -qF "ProductCode = $code" <(tr -d '\r' <"$(record_dir)/msiexec-$code.log")
done
