# Both kinds of extension: the LibreOffice ones are removed first, in listing
# order, then the Collabora one, each with /verysilent and each before the
# installer runs. An uninstaller listed under two entries runs once (the second
# entry stays); an entry that merely contains the words is someone else's and
# stays.
new_machine "$SCENARIO"
install_suite tdf
add_extension CollaboraExtA "Collabora Extension Alpha"
add_extension LOExtB "LibreOffice Extension Beta"
add_extension LOExtC "LibreOffice Extension Gamma"
reg_import <<EOF2
[$UNINSTALL\\LOExtCopy]
"DisplayName"="LibreOffice Extension Gamma"
"UninstallString"="\"C:\\\\ext\\\\LOExtC.exe\""
EOF2
add_extension OtherExt "The LibreOffice Extension Catalogue"
snapshot before
expect_suite_installed before

run_korvalend
snapshot after
expect_exit 0
expect_events <<EOF2
extension LOExtB /verysilent | soffice.bin gone
extension LOExtC /verysilent | soffice.bin gone
extension CollaboraExtA /verysilent | soffice.bin gone
msiexec /passive /norestart /x$SUITE_CODE | soffice.bin gone
EOF2
expect_installer_calls <<EOF2
/passive /norestart /x$SUITE_CODE
EOF2
expect_no_key after "$UNINSTALL\\LOExtB"
expect_no_key after "$UNINSTALL\\LOExtC"
expect_key after "$UNINSTALL\\LOExtCopy"
expect_no_key after "$UNINSTALL\\CollaboraExtA"
expect_key after "$UNINSTALL\\OtherExt"
expect_suite_removed after
expect_trash_only_suite
