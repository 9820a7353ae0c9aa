# LibreOffice and Collabora Office side by side, each with its help pack and
# an extension of its family. The first removal takes the ProgID and the AppID
# the two share; the run goes on with the second all the same, and each suite
# takes only its own family's extension.
new_machine "$SCENARIO"
install_suite collabora
CO_CODE=$SUITE_CODE CO_DIR=$SUITE_DIR CO_KEY=$SUITE_KEY
install_helppack collabora
CO_HELP=$HELP_CODE
install_suite tdf
install_helppack after
add_extension LOExtGrammar "LibreOffice Extension Grammar Checker"
add_extension COExtTools "Collabora Extension Tools"
add_bystanders
# Collabora Office goes too, and with it its family's Startup entry.
OTHER_STARTUP=("LibreOfficeDev 24.8.lnk" "ZetaOffice 7.6.lnk")
snapshot before
expect_key before "$UNINSTALL\\$CO_CODE"

run_korvalend
snapshot after
expect_exit 0
expect_events <<EOF2
extension LOExtGrammar /verysilent | soffice.bin gone
msiexec /passive /norestart /x$HELP_CODE | soffice.bin gone
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
extension COExtTools /verysilent | soffice.bin gone
msiexec /passive /norestart /x$CO_HELP | soffice.bin gone
msiexec /passive /norestart /x$CO_CODE | soffice.bin gone
EOF2
expect_suite_removed after
expect_no_key after "$UNINSTALL\\$CO_CODE"
expect_no_file "$CO_DIR"
expect_trashed "$CO_DIR"
expect_no_file "$COMMON_PROGRAMS/$CO_KEY"
expect_no_file "$PUBLIC_DESKTOP/Collabora Office Writer.lnk"
expect_no_file "$USER_STARTUP/Collabora Office 24.04.lnk"
expect_bystanders_kept
