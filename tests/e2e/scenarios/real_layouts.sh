# The install location as some tools record it, written with "/" (one of
# them doubled) and without its trailing separator, and version keys left
# behind by older installations listed after the installed one (one naming a
# folder that is gone, one without a location): the installed suite is found
# and removed all the same, and the keys left behind stay.
new_machine "$SCENARIO"
install_suite tdf
reg_import <<EOF2
[$SUITE_VENDOR_KEY\\7.6\\$UPGRADE_CODE]
"INSTALLLOCATION"="C:/Program Files//LibreOffice"

[$SUITE_VENDOR_KEY\\7.6.4.1\\$UPGRADE_CODE]
"INSTALLLOCATION"="C:\\\\Program Files\\\\LibreOffice 7.5\\\\"

[$SUITE_VENDOR_KEY\\9.0\\$UPGRADE_CODE]
EOF2
snapshot before
expect_key before "$SUITE_VENDOR_KEY\\9.0\\$UPGRADE_CODE"

uninstall_suite_alone
expect_suite_files_removed after
expect_key after "$SUITE_VENDOR_KEY\\9.0\\$UPGRADE_CODE"
expect_trash_only_suite
